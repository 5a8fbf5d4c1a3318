// The built-in demo script.
#include "headless/DemoScript.h"

#include <wchar16.h>

#include <functional>
#include <map>
#include <optional>

#include "device/SkinKeys.h"
#include "skin/SkinLayout.h"

namespace {

// The default skin's layouts the demo goes through.
constexpr int kFarsiLayout = 0;
constexpr int kLatinLayout = 2;
constexpr int kToolsLayout = 6;
constexpr int kCalculatorLayout = 7;
// Calculator key codes: digits are their value; these are the operations the demo uses.
constexpr WORD kCalcPlus = 11;
constexpr WORD kCalcEquals = 15;
constexpr WORD kCalcType = 39;

class Builder {
public:
    Builder(const DemoSetting& setting, DemoScript& demo) : m_setting(setting), m_demo(demo) {}

    bool ok() const { return m_error.empty(); }
    const std::string& error() const { return m_error; }

    void comment(const std::string& text) { m_demo.script += "# " + text + "\n"; }
    void line(const std::string& text) { m_demo.script += text + "\n"; }

    void shot(const std::string& name) {
        auto path = m_setting.outFolder / name;
        m_demo.screenshots.push_back(path);
        line("shot " + path.string());
    }

    // Taps the key of the current layout that `wanted` picks.
    void tapKey(const std::function<bool(const SkinKey&)>& wanted, const std::string& what) {
        if (!ok())
            return;
        const SkinLayoutKeys* keys = layoutKeys(m_layout);
        if (keys == nullptr)
            return;
        for (const SkinKey& key : keys->keys) {
            if (!wanted(key))
                continue;
            const int x = m_setting.panelOrigin.x + (key.rect.left + key.rect.right) / 2;
            const int y = m_setting.panelOrigin.y + (key.rect.top + key.rect.bottom) / 2;
            line("tap " + std::to_string(x) + " " + std::to_string(y));
            return;
        }
        m_error = "layout " + std::to_string(m_layout) + " of the skin has no key for " + what;
    }

    void type(std::u16string_view text) {
        for (char16_t ch : text) {
            tapKey([ch](const SkinKey& key) { return (key.flags & KF_OUTPUT) && key.param == ch; },
                   "U+" + hex(ch));
        }
    }

    // Through the layout's own key that goes to `target`.
    void switchTo(int target) {
        tapKey(
            [target](const SkinKey& key) {
                return (key.flags & KF_GOTO) && key.param == static_cast<WORD>(target);
            },
            "going to layout " + std::to_string(target));
        m_layout = target;
    }

    void calculate(WORD code) {
        tapKey([code](const SkinKey& key) { return (key.flags & KF_CALC) && key.param == code; },
               "calculator code " + std::to_string(code));
    }

    void startAt(int layout) {
        m_layout = layout;
        line("layout " + std::to_string(layout));
    }

private:
    static std::string hex(char16_t ch) {
        char text[8];
        std::snprintf(text, sizeof(text), "%04X", static_cast<unsigned>(ch));
        return text;
    }

    const SkinLayoutKeys* layoutKeys(int layout) {
        auto found = m_layouts.find(layout);
        if (found == m_layouts.end()) {
            auto keys = readSkinLayoutKeys(m_setting.skinDevicePath, m_setting.screenWidth,
                                           m_setting.screenHeight, layout);
            if (!keys) {
                m_error = "cannot read layout " + std::to_string(layout) + " of the skin " +
                          platform::toUtf8(m_setting.skinDevicePath);
                return nullptr;
            }
            found = m_layouts.emplace(layout, std::move(*keys)).first;
        }
        return &found->second;
    }

    const DemoSetting& m_setting;
    DemoScript& m_demo;
    std::map<int, SkinLayoutKeys> m_layouts;
    int m_layout = kFarsiLayout;
    std::string m_error;
};

}  // namespace

bool buildDemoScript(const DemoSetting& setting, DemoScript& demo, std::string& error) {
    demo = DemoScript{};
    Builder b(setting, demo);
    b.comment("Kelvo's demo: Farsi and Latin typed by tapping keys, then the calculator.");
    b.startAt(kFarsiLayout);
    b.shot("1-notes.png");
    b.type(kDemoFarsi);
    b.type(u"\r");
    b.shot("2-farsi.png");
    b.switchTo(kLatinLayout);
    b.type(kDemoLatin);
    b.type(u"\r");
    b.shot("3-latin.png");
    b.switchTo(kToolsLayout);
    b.switchTo(kCalculatorLayout);
    // 12 + 30 = 42, then the calculator types its result into Notes.
    b.calculate(1);
    b.calculate(2);
    b.calculate(kCalcPlus);
    b.calculate(3);
    b.calculate(0);
    b.calculate(kCalcEquals);
    b.shot("4-calculator.png");
    b.calculate(kCalcType);
    b.startAt(kFarsiLayout);
    b.shot("5-result.png");
    b.line("print-text");
    if (!b.ok()) {
        error = b.error();
        return false;
    }
    return true;
}
