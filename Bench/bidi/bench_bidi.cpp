// CBidiPara's Layout + Wrap (no width) against GNU FriBidi on the same paragraphs: embedding
// levels, Arabic joining and shaping with FRIBIDI_FLAGS_ARABIC, and reordering; and wrapping
// one long unbroken word against wrapping words of the same length. Prints characters per
// second for each and the ratios.
#include <benchmark/benchmark.h>
#include <farsiedit/CBidiPara.h>
#include <fribidi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

// A Farsi sentence cut or padded to exactly `count` characters.
std::u16string farsiSentence(size_t count) {
    std::u16string s =
        u"\u0627\u06CC\u0646 \u06CC\u06A9 \u062C\u0645\u0644\u0647\u0654 \u06A9\u0648\u062A\u0627"
        u"\u0647 \u0641\u0627\u0631\u0633\u06CC \u0627\u0633\u062A \u06A9\u0647 \u0628\u0631\u0627"
        u"\u06CC \u0622\u0632\u0645\u0627\u06CC\u0634 \u0646\u0648\u0634\u062A\u0647 \u0634\u062F"
        u"\u0647 \u0627\u0633\u062A \u0648 \u0644\u0627 \u062F\u0627\u0631\u062F.";
    while (s.size() < count) {
        s += s;
    }
    s.resize(count);
    return s;
}

// Farsi words, Latin words, Farsi and Latin digits, punctuation and brackets, repeated.
std::u16string mixedParagraph(size_t count) {
    const std::u16string pieces[] = {
        u"\u0633\u0644\u0627\u0645 ",
        u"Kelvo ",
        u"\u06F1\u06F2\u06F3\u06F4 ",
        u"\u0635\u0641\u062D\u0647\u200C\u06A9\u0644\u06CC\u062F ",
        u"(version 2.5) ",
        u"\u0628\u0631\u0627\u06CC 100% ",
        u"\u067E\u0627\u0631\u0633\u06CC\u060C ",
        u"keyboard, ",
        u"\u0645\u06CC\u200C\u0646\u0648\u06CC\u0633\u062F: ",
        u"12,345 ",
        u"\u06AF\u0644\u200D ",
        u"\u0644\u0627\u0644\u0647 ",
    };
    std::u16string s;
    for (size_t i = 0; s.size() < count; ++i) {
        s += pieces[i % std::size(pieces)];
    }
    s.resize(count);
    return s;
}

const std::vector<std::u16string>& paragraphs() {
    static const std::vector<std::u16string> all = {farsiSentence(60), mixedParagraph(1000),
                                                    mixedParagraph(10000)};
    return all;
}

void kelvoLayout(benchmark::State& state) {
    const std::u16string& text = paragraphs()[state.range(0)];
    CBidiPara para;
    para.SetText(text.c_str());
    for (auto _ : state) {
        para.Layout();
        benchmark::DoNotOptimize(para.Wrap(nullptr, 0));
        benchmark::DoNotOptimize(para.glyphs[0]);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void fribidiLayout(benchmark::State& state) {
    const std::u16string& text = paragraphs()[state.range(0)];
    const int n = static_cast<int>(text.size());
    std::vector<FriBidiChar> input(text.begin(), text.end());
    std::vector<FriBidiCharType> types(n);
    std::vector<FriBidiBracketType> brackets(n);
    std::vector<FriBidiLevel> levels(n);
    std::vector<FriBidiJoiningType> joining(n);
    std::vector<FriBidiArabicProp> arabic(n);
    std::vector<FriBidiChar> shaped(n);
    std::vector<FriBidiStrIndex> map(n);
    for (auto _ : state) {
        fribidi_get_bidi_types(input.data(), n, types.data());
        fribidi_get_bracket_types(input.data(), n, types.data(), brackets.data());
        FriBidiParType base = FRIBIDI_PAR_ON;
        benchmark::DoNotOptimize(fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(),
                                                                     n, &base, levels.data()));
        fribidi_get_joining_types(input.data(), n, joining.data());
        std::memcpy(arabic.data(), joining.data(), sizeof(FriBidiArabicProp) * n);
        fribidi_join_arabic(types.data(), n, levels.data(), arabic.data());
        std::memcpy(shaped.data(), input.data(), sizeof(FriBidiChar) * n);
        fribidi_shape(FRIBIDI_FLAGS_ARABIC, levels.data(), n, arabic.data(), shaped.data());
        for (int i = 0; i < n; ++i) {
            map[i] = i;
        }
        benchmark::DoNotOptimize(fribidi_reorder_line(FRIBIDI_FLAGS_ARABIC, types.data(), n, 0,
                                                      base, levels.data(), shaped.data(),
                                                      map.data()));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}

BENCHMARK(kelvoLayout)->Arg(0)->Arg(1)->Arg(2);
BENCHMARK(fribidiLayout)->Arg(0)->Arg(1)->Arg(2);

// Wrapping: the same Farsi text as one word (its spaces taken out) and as words, at a line
// width that fits one letter and at a narrow screen's.
constexpr int kWrapLengths[] = {20000, CBidiPara::MAX_LENGTH};
constexpr int kWrapWidths[] = {10, 200};
enum class Words { One, Many };

std::u16string wrapText(Words words, int length) {
    std::u16string text = farsiSentence(static_cast<size_t>(length) * 2);
    if (words == Words::One) {
        text.erase(std::remove(text.begin(), text.end(), u' '), text.end());
    }
    text.resize(static_cast<size_t>(length));
    return text;
}

// A memory DC with the Farsi edit control's face, for measuring.
class MeasuringDC {
public:
    MeasuringDC() : m_dc(CreateCompatibleDC(nullptr)) {
        LOGFONTW f{};
        f.lfHeight = -13;
        const char16_t face[] = u"Tahoma";
        std::copy(std::begin(face), std::end(face), f.lfFaceName);
        m_font = CreateFontIndirectW(&f);
        m_previous = SelectObject(m_dc, m_font);
    }
    ~MeasuringDC() {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_font);
        DeleteDC(m_dc);
    }
    MeasuringDC(const MeasuringDC&) = delete;
    MeasuringDC& operator=(const MeasuringDC&) = delete;
    HDC get() const { return m_dc; }

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_previous;
};

void wrapBench(benchmark::State& state, Words words) {
    const std::u16string text = wrapText(words, static_cast<int>(state.range(0)));
    const int width = static_cast<int>(state.range(1));
    MeasuringDC dc;
    CBidiPara para;
    para.SetText(text.c_str());
    for (auto _ : state) {
        para.Layout();
        benchmark::DoNotOptimize(para.Wrap(dc.get(), width));
    }
    state.counters["lines"] = para.lineCount;
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void kelvoWrapOneWord(benchmark::State& state) {
    wrapBench(state, Words::One);
}
void kelvoWrapWords(benchmark::State& state) {
    wrapBench(state, Words::Many);
}

void wrapArgs(benchmark::internal::Benchmark* b) {
    for (int length : kWrapLengths) {
        for (int width : kWrapWidths) {
            b->Args({length, width});
        }
    }
}
BENCHMARK(kelvoWrapOneWord)->Apply(wrapArgs);
BENCHMARK(kelvoWrapWords)->Apply(wrapArgs);

// The console report, keeping each benchmark's characters per second for the ratio tables:
// the mean of its repetitions when they are aggregated, else the average of its runs.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto it = run.counters.find("items_per_second");
            if (it == run.counters.end() || run.error_occurred) {
                continue;
            }
            // Repetitions and aggregates add to the name; the function and arguments do not.
            const std::string name = run.run_name.function_name + "/" + run.run_name.args;
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "mean") {
                    m_means[name] = it->second.value;
                }
            } else {
                m_runs[name].total += it->second.value;
                m_runs[name].count += 1;
            }
        }
    }

    // Characters per second of a benchmark and its arguments, 0 when it did not run.
    double rate(const std::string& name) const {
        if (const auto mean = m_means.find(name); mean != m_means.end()) {
            return mean->second;
        }
        const auto runs = m_runs.find(name);
        return runs == m_runs.end() ? 0.0 : runs->second.total / runs->second.count;
    }

private:
    struct Sum {
        double total = 0;
        int count = 0;
    };
    std::map<std::string, double> m_means;
    std::map<std::string, Sum> m_runs;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const char* sizes[] = {"60-character Farsi sentence", "1,000-character mixed paragraph",
                           "10,000-character mixed paragraph"};
    std::printf("\n%-34s %16s %16s %8s\n", "paragraph", "CBidiPara ch/s", "FriBidi ch/s", "ratio");
    for (int i = 0; i < 3; ++i) {
        const double ours = reporter.rate("kelvoLayout/" + std::to_string(i));
        const double theirs = reporter.rate("fribidiLayout/" + std::to_string(i));
        std::printf("%-34s %16.0f %16.0f %7.2fx\n", sizes[i], ours, theirs,
                    theirs > 0 ? ours / theirs : 0.0);
    }
    std::printf("\n%-34s %16s %16s %8s\n", "wrapping (Layout + Wrap)", "one word ch/s",
                "words ch/s", "ratio");
    for (int length : kWrapLengths) {
        for (int width : kWrapWidths) {
            const std::string args = std::to_string(length) + "/" + std::to_string(width);
            const double one = reporter.rate("kelvoWrapOneWord/" + args);
            const double many = reporter.rate("kelvoWrapWords/" + args);
            const std::string what =
                std::to_string(length) + " characters, width " + std::to_string(width);
            std::printf("%-34s %16.0f %16.0f %7.2fx\n", what.c_str(), one, many,
                        many > 0 ? one / many : 0.0);
        }
    }
    benchmark::Shutdown();
    return 0;
}
