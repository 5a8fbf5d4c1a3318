// Each layout goes through the loader's own parsing (with the panel's modifier table) and
// picture decoding; what the loader silently tolerates (a gesture naming no key, a goto past
// the last layout, an argument a function ignores) is reported here, because the panel would
// quietly do the wrong thing.
#include "CheckCommand.h"

#include <array>

#include "Canvas.h"
#include "LabelInk.h"
#include "skin/EBFFile.h"
#include "skin/SkinSettings.h"

namespace {

constexpr const WCHAR* kAllClasses[] = {u"P", u"PH", u"L", u"LH"};
constexpr int kMaxLayoutNumber = 127;
constexpr WORD kLastCalcOperation = 40;
constexpr BYTE kLastTaskAction = 4;
constexpr WORD kTaskSlots = 20;
constexpr WORD kMacroCount = 20;
constexpr BYTE kLastLaunchAction = 5;
constexpr WORD kProgramSlots = 30;
constexpr WORD kGameSlots = 15;
constexpr WORD kGroupingSwitch = 23;
constexpr WORD kDigitsSwitch = 40;
constexpr int kGroupingSlot = 5;
constexpr int kDigitsSlot = 8;
// Screens of the "P" class are at most 400 pixels wide, of the "L" class at most 500.
constexpr int kWidestSmallPortrait = 400;
constexpr int kWidestSmallLandscape = 500;

std::u16string decimalName(int n) {
    std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

struct GestureSpot {
    int32_t row = -1;
    int32_t col = -1;
};

// The gesture positions as stored; the loader keeps only those that name a key.
std::array<GestureSpot, 3> storedGestures(CEBFFile& file, int n) {
    std::array<GestureSpot, 3> spots{};
    if (!file.BeginClass(decimalName(n)))
        return spots;
    BYTE data[kLayoutDataCapacity];
    const DWORD size = file.RawValue(u"D", data, kLayoutDataCapacity);
    file.EndClass();
    if (size < kLayoutHeaderBytes)
        return spots;
    auto i32 = [&](size_t at) {
        return static_cast<int32_t>(uint32_t(data[at]) | (uint32_t(data[at + 1]) << 8) |
                                    (uint32_t(data[at + 2]) << 16) |
                                    (uint32_t(data[at + 3]) << 24));
    };
    for (size_t g = 0; g < 3; ++g)
        spots[g] = {i32(3 + g * 8), i32(7 + g * 8)};
    return spots;
}

class Checker {
public:
    // screenWidth: the screen the check is for, 0 for every screen of each class.
    Checker(std::vector<SkinProblem>& problems, HDC dc, int screenWidth)
        : m_problems(problems), m_dc(dc), m_screenWidth(screenWidth) {}

    void checkClass(CEBFFile& file, const std::string& cls, bool helpFileNamed) {
        m_class = cls;
        const DWORD count = file.GetChildCount();
        if (count == 0) {
            add(-1, -1, -1, "the class has no layouts");
            return;
        }
        if (count > kMaxLayoutNumber + 1)
            add(-1, -1, -1,
                "the class holds " + std::to_string(count) +
                    " layouts; layout numbers stop at 127, the rest cannot be reached");
        const int layouts = static_cast<int>(std::min<DWORD>(count, kMaxLayoutNumber + 1));
        for (int n = 0; n < layouts; ++n)
            checkLayout(file, n, layouts, helpFileNamed);
    }

private:
    void add(int layout, int row, int col, std::string what) {
        m_problems.push_back({m_class, layout, row, col, std::move(what)});
    }

    void checkLayout(CEBFFile& file, int n, int count, bool helpFileNamed) {
        std::array<KeyRecord*, kModifierSlots> modSlot{};
        LoadedLayout loaded = loadLayoutFrom(file, n, modSlot.data());
        if (loaded.load != LayoutLoad::Loaded) {
            add(n, -1, -1, layoutLoadProblem(loaded, n));
            return;
        }
        const SkinLayout& layout = *loaded.layout;
        if (layout.width < 1 || layout.height < 1) {
            add(n, -1, -1,
                "its size is " + std::to_string(layout.width) + "x" +
                    std::to_string(layout.height) + " (a layout without layout data has none)");
            return;
        }
        // The widest screen of the class (for a given screen, that screen) must hold the panel.
        const int widest = m_screenWidth > 0 ? m_screenWidth
                           : m_class == "P"  ? kWidestSmallPortrait
                           : m_class == "L"  ? kWidestSmallLandscape
                                             : 0;
        if (widest > 0 && layout.width > widest)
            add(n, -1, -1,
                "it is " + std::to_string(layout.width) + " pixels wide, more than the " +
                    std::to_string(widest) +
                    (m_screenWidth > 0 ? " of the screen"
                                       : " of the widest " + m_class + " screen"));
        checkPicture(loaded, n);
        if (layout.altIndex >= count)
            add(n, -1, -1,
                "its alternate layout " + std::to_string(layout.altIndex) +
                    " does not exist (the class has " + std::to_string(count) + ")");
        const char* directions[] = {"down", "right", "left"};
        const KeyRecord* found[] = {layout.downKey, layout.rightKey, layout.leftKey};
        const auto spots = storedGestures(file, n);
        for (size_t g = 0; g < 3; ++g) {
            const bool none = spots[g].row == -1 && spots[g].col == -1;
            if (!none && found[g] == nullptr)
                add(n, -1, -1,
                    std::string("the ") + directions[g] + " gesture names row " +
                        std::to_string(spots[g].row) + " col " + std::to_string(spots[g].col) +
                        ", where there is no key");
        }
        if ((layout.flags & LF_CALC) && (layout.rowCount == 0 || layout.rowKeyCount[0] == 0))
            add(n, -1, -1, "a calculator layout needs its display as the key at row 0 col 0");
        for (int r = 0; r < layout.rowCount; ++r) {
            for (int k = 0; k < layout.rowKeyCount[r]; ++k)
                checkKey(*loaded.layout, loaded.layout->keys[r][k], n, count, helpFileNamed);
        }
    }

    // Decodes the picture as the panel does (a picture larger than the layout is refused) and,
    // when it is of the layout's size, keeps its pixels for the keys' labels.
    void checkPicture(LoadedLayout& loaded, int n) {
        m_picture.pixels.clear();
        const SkinLayout& layout = *loaded.layout;
        const std::optional<SIZE> size = decodeLayoutPicture(loaded, m_dc);
        if (!size) {
            add(n, -1, -1, pictureProblem(loaded));
            return;
        }
        if (size->cx != layout.width || size->cy != layout.height) {
            add(n, -1, -1,
                "its picture is " + std::to_string(size->cx) + "x" + std::to_string(size->cy) +
                    ", the layout " + std::to_string(layout.width) + "x" +
                    std::to_string(layout.height));
        } else {
            Canvas canvas(size->cx, size->cy);
            HDC source = CreateCompatibleDC(nullptr);
            HGDIOBJ previous = SelectObject(source, layout.bitmap);
            if (canvas.valid() &&
                BitBlt(canvas.dc(), 0, 0, size->cx, size->cy, source, 0, 0, SRCCOPY))
                m_picture = {size->cx, size->cy, canvas.pixels()};
            SelectObject(source, previous);
            DeleteDC(source);
        }
        loaded.layout->setBitmap(nullptr);
    }

    void checkKey(SkinLayout& layout, const KeyRecord& key, int n, int count, bool helpFileNamed) {
        const int r = key.row;
        const int k = key.col;
        auto problem = [&](const std::string& what) { add(n, r, k, what); };
        const RECT& rect = key.rect;
        const std::string shown = "(" + std::to_string(rect.left) + ", " +
                                  std::to_string(rect.top) + ", " + std::to_string(rect.right) +
                                  ", " + std::to_string(rect.bottom) + ")";
        if (rect.left >= rect.right || rect.top >= rect.bottom) {
            problem("its rectangle " + shown + " is empty");
        } else if (rect.left < 0 || rect.top < 0 || rect.right > layout.width ||
                   rect.bottom > layout.height) {
            problem("its rectangle " + shown + " reaches outside the " +
                    std::to_string(layout.width) + "x" + std::to_string(layout.height) + " layout");
        } else {
            // The hit test looks at rows top to bottom and keys left to right; a key out of
            // that order loses its place to another one.
            const KeyRecord* hit =
                layout.keyAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
            if (hit != &key)
                problem(hit == nullptr
                            ? std::string("the hit test finds no key at its centre")
                            : "the hit test gives its centre to row " + std::to_string(hit->row) +
                                  " col " + std::to_string(hit->col) +
                                  " (rows run top to bottom, keys left to right)");
            if (!m_picture.pixels.empty()) {
                const std::string edges = labelInkEdges(m_picture, rect);
                if (!edges.empty())
                    problem("its label does not fit: its ink reaches " + edges + " of the key");
            }
        }
        const int slot = key.slot();
        const WORD kind = key.flags & KF_KIND_MASK;
        if (slot > kModifierSlots)
            problem("its modifier slot " + std::to_string(slot) + " is outside 1 to 10");
        else if (slot >= 1 && kind == 0)
            problem("a modifier key of slot " + std::to_string(slot) +
                    " with no kind bits latches nothing");
        if ((kind & KF_GOTO) && (key.param & 0xFF) >= count)
            problem("its goto target " + std::to_string(key.param & 0xFF) +
                    " does not exist (the class has " + std::to_string(count) + " layouts)");
        if (kind & KF_CALC) {
            if (key.param > kLastCalcOperation)
                problem("its calculator operation " + std::to_string(key.param) +
                        " is outside 0 to 40");
            else if (key.param == kGroupingSwitch && slot != kGroupingSlot)
                problem("the digit grouping switch (operation 23) must be a modifier of slot 5");
            else if (key.param == kDigitsSwitch && slot != kDigitsSlot)
                problem(
                    "the Arabic-Indic digits switch (operation 40) must be a modifier of "
                    "slot 8");
        }
        if (kind & KF_TASKS) {
            if (key.vk > kLastTaskAction)
                problem("its task action " + std::to_string(key.vk) + " is outside 0 to 4");
            else if (key.vk <= 1 && key.param >= kTaskSlots)
                problem("its task slot " + std::to_string(key.param) + " is outside 0 to 19");
        }
        if (kind & KF_MACRO) {
            if (key.vk > 1)
                problem("its macro code " + std::to_string(key.vk) +
                        " is neither 0 (a macro) nor 1 (the record key)");
            else if (key.vk == 0 && key.param >= kMacroCount)
                problem("its macro number " + std::to_string(key.param) + " is outside 0 to 19");
        }
        if (kind & KF_LAUNCH) {
            if (key.vk > kLastLaunchAction)
                problem("its launch action " + std::to_string(key.vk) + " is outside 0 to 5");
            else if (key.vk == 0 && key.param >= kProgramSlots)
                problem("its program index " + std::to_string(key.param) + " is outside 0 to 29");
            else if (key.vk == 1 && key.param >= kGameSlots)
                problem("its game index " + std::to_string(key.param) + " is outside 0 to 14");
            else if (key.vk == 5 && !helpFileNamed)
                problem("a help key, but the skin names no help file (\"HFN\")");
        }
    }

    std::vector<SkinProblem>& m_problems;
    HDC m_dc;
    PicturePixels m_picture;  // of the layout being checked; empty when it has none
    int m_screenWidth;
    std::string m_class;
};

}  // namespace

std::vector<SkinProblem> checkSkin(const std::u16string& devicePath,
                                   const std::optional<ScreenSize>& screen) {
    std::vector<SkinProblem> problems;
    // A broken container is reported even where the loader can still reach some layouts: the
    // lines after it may be its consequences.
    if (auto why = skinFileProblem(devicePath))
        problems.push_back({"", -1, -1, -1, *why});
    CEBFFile file(u"KELVO_SKIN");
    if (!file.OpenRead(devicePath)) {
        file.Close();
        if (problems.empty())
            problems.push_back({"", -1, -1, -1, kCannotOpenAsSkin});
        return problems;
    }
    std::u16string help;
    file.StringValue(u"HFN", help, {});
    DecodeContext context;
    Checker checker(problems, context.dc(), screen ? screen->width : 0);
    std::vector<std::u16string> classes;
    if (screen)
        classes.push_back(dimensionClass(screen->width, screen->height));
    else
        classes.assign(std::begin(kAllClasses), std::end(kAllClasses));
    for (const std::u16string& cls : classes) {
        const std::string name(cls.begin(), cls.end());
        if (!file.BeginClass(cls)) {
            problems.push_back({name, -1, -1, -1, kClassMissing});
            continue;
        }
        checker.checkClass(file, name, !help.empty());
        file.EndClass();
    }
    file.Close();
    return problems;
}

int checkCommand(const std::filesystem::path& skinFile, const std::optional<ScreenSize>& screen,
                 FILE* out, FILE* err) {
    std::u16string devicePath;
    std::string error;
    if (!openHostSkin(skinFile, devicePath, error)) {
        std::fprintf(err, "%s\n",
                     problemLine(skinFile, SkinProblem{"", -1, -1, -1, error}).c_str());
        return 1;
    }
    const std::vector<SkinProblem> problems = checkSkin(devicePath, screen);
    for (const SkinProblem& problem : problems)
        std::fprintf(out, "%s\n", problem.text().c_str());
    if (!problems.empty()) {
        std::fprintf(err, "kvskin: %s: %zu problem%s\n", skinFile.c_str(), problems.size(),
                     problems.size() == 1 ? "" : "s");
        return 1;
    }
    return 0;
}
