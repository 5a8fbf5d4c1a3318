// Reading skin.json with nlohmann-json: every member is checked for its type and range before
// it is used, unknown members are refused (they are usually misspelt), and the first problem
// is reported with the face, row and column it belongs to.
#include "SkinSource.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <set>

#include <wchar16.h>

#include "skin/SkinLayout.h"

namespace {

using nlohmann::json;

// A kind bit that the key handling gives no meaning: it lets a modifier with no other kind
// latch (a key with only slot bits latches nothing).
constexpr WORD kLatchingModifier = 0x0400;

// A label is drawn on one key; a path is what the device's file calls take.
constexpr size_t kMaxLabelLength = 32;
constexpr size_t kMaxHelpPath = 259;

class Problem {
public:
    explicit Problem(std::string where) : m_where(std::move(where)) {}
    bool fail(std::string& error, const std::string& what) const {
        error = m_where + ": " + what;
        return false;
    }
    Problem at(const std::string& more) const { return Problem(m_where + ", " + more); }

private:
    std::string m_where;
};

bool onlyMembers(const json& object, std::initializer_list<const char*> allowed,
                 const Problem& where, std::string& error) {
    for (const auto& item : object.items()) {
        bool known = false;
        for (const char* name : allowed)
            known = known || item.key() == name;
        if (!known)
            return where.fail(error, "unknown member \"" + item.key() + "\"");
    }
    return true;
}

bool readInteger(const json& value, long long low, long long high, const std::string& what,
                 const Problem& where, std::string& error, long long& out) {
    if (value.is_number_integer()) {
        out = value.get<long long>();
    } else if (value.is_string()) {
        // Hexadecimal numbers are written as "0x..." strings.
        const std::string& text = value.get_ref<const std::string&>();
        if (text.size() < 3 || text.size() > 10 || text[0] != '0' ||
            (text[1] != 'x' && text[1] != 'X'))
            return where.fail(error, what + " must be a number (or \"0x...\")");
        out = 0;
        for (size_t i = 2; i < text.size(); ++i) {
            char c = text[i];
            int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
            if (digit < 0)
                return where.fail(error, what + " \"" + text + "\" is not a hexadecimal number");
            out = out * 16 + digit;
        }
    } else {
        return where.fail(error, what + " must be a number");
    }
    if (out < low || out > high)
        return where.fail(error, what + " " + std::to_string(out) + " is outside " +
                                     std::to_string(low) + " to " + std::to_string(high));
    return true;
}

bool readNumber(const json& value, double low, double high, const std::string& what,
                const Problem& where, std::string& error, double& out) {
    if (!value.is_number())
        return where.fail(error, what + " must be a number");
    out = value.get<double>();
    if (!std::isfinite(out) || out < low || out > high)
        return where.fail(error, what + " must be from " + std::to_string(low).substr(0, 4) +
                                     " to " + std::to_string(high).substr(0, 4));
    return true;
}

bool readText(const json& value, const std::string& what, const Problem& where, std::string& error,
              std::u16string& out) {
    if (!value.is_string())
        return where.fail(error, what + " must be a string");
    out = platform::fromUtf8(value.get_ref<const std::string&>());
    return true;
}

bool readColour(const json& value, const std::string& what, const Problem& where,
                std::string& error, COLORREF& out) {
    if (!value.is_string())
        return where.fail(error, what + " must be a colour \"#RRGGBB\"");
    const std::string& text = value.get_ref<const std::string&>();
    unsigned rgb = 0;
    bool good = text.size() == 7 && text[0] == '#';
    for (size_t i = 1; good && i < text.size(); ++i) {
        char c = text[i];
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
        good = digit >= 0;
        rgb = rgb * 16 + static_cast<unsigned>(digit);
    }
    if (!good)
        return where.fail(error, what + " \"" + text + "\" is not a colour \"#RRGGBB\"");
    out = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    return true;
}

bool readLayoutRef(const json& value, const std::string& what, const Problem& where,
                   std::string& error, LayoutRef& out) {
    if (value.is_string()) {
        out.name = value.get<std::string>();
        if (out.name.empty())
            return where.fail(error, what + " names no layout");
        return true;
    }
    long long number = 0;
    if (!readInteger(value, 0, 127, what, where, error, number))
        return false;
    out.number = static_cast<int>(number);
    return true;
}

// A one-character string (one UTF-16 unit) or a character code.
bool readCharacter(const json& value, const Problem& where, std::string& error, WORD& out) {
    if (value.is_string()) {
        std::u16string text = platform::fromUtf8(value.get_ref<const std::string&>());
        if (text.size() != 1 || text[0] == 0)
            return where.fail(error, "\"char\" must be one character of the basic plane");
        out = text[0];
        return true;
    }
    long long code = 0;
    if (!readInteger(value, 1, 0xFFFF, "\"char\"", where, error, code))
        return false;
    out = static_cast<WORD>(code);
    return true;
}

class KeyFields {
public:
    KeyFields(const Problem& where, std::string& error) : m_where(where), m_error(error) {}

    bool param(const char* user, WORD value, KeySource& key) {
        if (!m_paramUser.empty())
            return m_where.fail(m_error, std::string("\"") + user + "\" and \"" + m_paramUser +
                                             "\" cannot share one key");
        m_paramUser = user;
        key.param = value;
        return true;
    }
    bool vk(const char* user, BYTE value, KeySource& key) {
        if (!m_vkUser.empty())
            return m_where.fail(m_error, std::string("\"") + user + "\" and \"" + m_vkUser +
                                             "\" cannot share one key");
        m_vkUser = user;
        key.vk = value;
        return true;
    }
    bool vkTaken() const { return !m_vkUser.empty(); }

private:
    const Problem& m_where;
    std::string& m_error;
    std::string m_paramUser;
    std::string m_vkUser;
};

bool parseKeyObject(const json& j, Keyboard keyboard, const Problem& where, std::string& error,
                    KeySource& key) {
    if (!onlyMembers(
            j,
            {"id", "label", "width", "rect", "style", "char", "vk", "goto", "back", "modifier",
             "oneshot", "calc", "task", "slot", "macro", "launch", "index", "topic", "stay"},
            where, error))
        return false;
    KeyFields fields(where, error);
    if (j.contains("id")) {
        if (!j["id"].is_string() || j["id"].get_ref<const std::string&>().empty())
            return where.fail(error, "\"id\" must be a non-empty string");
        key.id = j["id"].get<std::string>();
    }
    if (j.contains("label")) {
        if (!readText(j["label"], "\"label\"", where, error, key.label))
            return false;
        if (key.label.size() > kMaxLabelLength)
            return where.fail(error, "\"label\" is longer than " + std::to_string(kMaxLabelLength) +
                                         " characters");
    }
    if (j.contains("width") &&
        !readNumber(j["width"], 0.05, kMaxKeyUnits, "\"width\"", where, error, key.width))
        return false;
    if (j.contains("rect")) {
        const json& r = j["rect"];
        if (!r.is_array() || r.size() != 4)
            return where.fail(error, "\"rect\" must be [left, top, right, bottom]");
        std::array<double, 4> rect{};
        for (size_t i = 0; i < 4; ++i) {
            if (!readNumber(r[i], 0, 4096, "\"rect\" values", where, error, rect[i]))
                return false;
        }
        if (rect[0] >= rect[2] || rect[1] >= rect[3])
            return where.fail(error, "\"rect\" must have left < right and top < bottom");
        key.rect = rect;
    }
    if (j.contains("style")) {
        static const std::map<std::string, KeyStyle> styles = {
            {"char", KeyStyle::Char},     {"function", KeyStyle::Function},
            {"accent", KeyStyle::Accent}, {"display", KeyStyle::Display},
            {"blank", KeyStyle::Blank},   {"none", KeyStyle::None}};
        auto found =
            j["style"].is_string() ? styles.find(j["style"].get<std::string>()) : styles.end();
        if (found == styles.end())
            return where.fail(error,
                              "\"style\" must be one of char, function, accent, display, "
                              "blank, none");
        key.style = found->second;
    }

    bool hasChar = false;
    if (j.contains("char")) {
        WORD ch = 0;
        if (!readCharacter(j["char"], where, error, ch) || !fields.param("char", ch, key))
            return false;
        key.flags |= KF_OUTPUT;
        hasChar = true;
    }
    if (j.contains("goto")) {
        LayoutRef target;
        if (!readLayoutRef(j["goto"], "\"goto\"", where, error, target) ||
            !fields.param("goto", 0, key))
            return false;
        key.gotoTarget = target;
        key.flags |= KF_GOTO;
    }
    if (j.contains("back")) {
        if (!j["back"].is_boolean())
            return where.fail(error, "\"back\" must be true or false");
        if (j["back"].get<bool>())
            key.flags |= KF_BACK;
    }
    if (j.contains("stay")) {
        if (!j["stay"].is_boolean())
            return where.fail(error, "\"stay\" must be true or false");
        if (j["stay"].get<bool>())
            key.flags |= KF_STAY;
    }
    if (j.contains("calc")) {
        long long op = 0;
        if (!readInteger(j["calc"], 0, 40, "\"calc\" operation", where, error, op) ||
            !fields.param("calc", static_cast<WORD>(op), key))
            return false;
        key.flags |= KF_CALC;
    }
    if (j.contains("task")) {
        static const std::map<std::string, BYTE> actions = {
            {"close", 0}, {"front", 1}, {"closeAll", 2}, {"desktop", 3}, {"refresh", 4}};
        auto found =
            j["task"].is_string() ? actions.find(j["task"].get<std::string>()) : actions.end();
        if (found == actions.end())
            return where.fail(error,
                              "\"task\" must be one of close, front, closeAll, desktop, refresh");
        if (!fields.vk("task", found->second, key))
            return false;
        key.flags |= KF_TASKS;
        if (found->second <= 1) {
            long long slot = 0;
            if (!j.contains("slot"))
                return where.fail(error, "a \"" + found->first + "\" task key needs a \"slot\"");
            if (!readInteger(j["slot"], 0, 19, "\"slot\"", where, error, slot) ||
                !fields.param("slot", static_cast<WORD>(slot), key))
                return false;
        } else if (j.contains("slot")) {
            return where.fail(error, "a \"" + found->first + "\" task key takes no \"slot\"");
        }
    } else if (j.contains("slot")) {
        return where.fail(error, "\"slot\" belongs to task keys");
    }
    if (j.contains("macro")) {
        const json& m = j["macro"];
        if (m.is_string() && m.get_ref<const std::string&>() == "record") {
            if (!fields.vk("macro", 1, key) || !fields.param("macro", 0, key))
                return false;
        } else {
            long long number = 0;
            if (!readInteger(m, 1, 20, "\"macro\" (a number 1 to 20 or \"record\")", where, error,
                             number) ||
                !fields.param("macro", static_cast<WORD>(number - 1), key) ||
                !fields.vk("macro", 0, key))
                return false;
        }
        key.flags |= KF_MACRO;
    }
    if (j.contains("launch")) {
        static const std::map<std::string, BYTE> actions = {
            {"program", 0}, {"game", 1}, {"settings", 3}, {"desktop", 4}, {"help", 5}};
        auto found =
            j["launch"].is_string() ? actions.find(j["launch"].get<std::string>()) : actions.end();
        if (found == actions.end())
            return where.fail(error,
                              "\"launch\" must be one of program, game, settings, desktop, help");
        if (!fields.vk("launch", found->second, key))
            return false;
        key.flags |= KF_LAUNCH;
        const BYTE action = found->second;
        if (action <= 1) {
            long long index = 0;
            if (!j.contains("index"))
                return where.fail(error, "a \"" + found->first + "\" key needs an \"index\"");
            if (!readInteger(j["index"], 0, action == 0 ? 29 : 14, "\"index\"", where, error,
                             index) ||
                !fields.param("index", static_cast<WORD>(index), key))
                return false;
        } else if (j.contains("index")) {
            return where.fail(error, "\"index\" belongs to program and game keys");
        }
        if (action == 5) {
            long long topic = 0;
            if (j.contains("topic") &&
                (!readInteger(j["topic"], 0, 0xFFFF, "\"topic\"", where, error, topic) ||
                 !fields.param("topic", static_cast<WORD>(topic), key)))
                return false;
        } else if (j.contains("topic")) {
            return where.fail(error, "\"topic\" belongs to help keys");
        }
    } else if (j.contains("index") || j.contains("topic")) {
        return where.fail(error, "\"index\" and \"topic\" belong to launch keys");
    }
    bool isModifier = false;
    if (j.contains("modifier")) {
        long long slot = 0;
        if (!readInteger(j["modifier"], 1, 10, "\"modifier\" slot", where, error, slot))
            return false;
        key.flags |= static_cast<WORD>(slot << 12);
        isModifier = true;
    }
    if (j.contains("oneshot")) {
        if (!isModifier)
            return where.fail(error, "\"oneshot\" belongs to modifier keys");
        if (!j["oneshot"].is_boolean())
            return where.fail(error, "\"oneshot\" must be true or false");
        if (j["oneshot"].get<bool>())
            key.flags |= KF_ONESHOT;
    }
    if (j.contains("vk")) {
        long long vk = 0;
        if (!readInteger(j["vk"], 0, 255, "\"vk\"", where, error, vk) ||
            !fields.vk("vk", static_cast<BYTE>(vk), key))
            return false;
        // A virtual key alone makes a key that sends it as a plain key stroke.
        if (!hasChar && !isModifier)
            key.flags |= KF_OUTPUT;
    } else if (hasChar && !fields.vkTaken()) {
        key.vk = standardVirtualKey(key.param, keyboard);
    }
    if (isModifier && (key.flags & KF_KIND_MASK) == 0)
        key.flags |= kLatchingModifier;
    if (hasChar && key.label.empty())
        key.label = std::u16string(1, static_cast<char16_t>(key.param));
    return true;
}

bool parseKey(const json& j, Keyboard keyboard, const Problem& where, std::string& error,
              KeySource& key) {
    if (j.is_string()) {
        std::u16string text = platform::fromUtf8(j.get_ref<const std::string&>());
        if (text.size() != 1 || text[0] == 0)
            return where.fail(error,
                              "a key written as a string is one character of the basic "
                              "plane; use an object for anything else");
        key.flags = KF_OUTPUT;
        key.param = text[0];
        key.vk = standardVirtualKey(text[0], keyboard);
        key.label = text;
        return true;
    }
    if (!j.is_object())
        return where.fail(error, "a key is a one-character string or an object");
    return parseKeyObject(j, keyboard, where, error, key);
}

bool parseGesture(const json& j, const std::string& what, const Problem& where, std::string& error,
                  std::optional<GestureRef>& out) {
    GestureRef ref;
    if (j.is_string()) {
        ref.id = j.get<std::string>();
    } else if (j.is_array() && j.size() == 2) {
        long long row = 0, col = 0;
        if (!readInteger(j[0], 0, kMaxRows - 1, what + " row", where, error, row) ||
            !readInteger(j[1], 0, kMaxKeysPerRow - 1, what + " column", where, error, col))
            return false;
        ref.row = static_cast<int>(row);
        ref.col = static_cast<int>(col);
    } else {
        return where.fail(error, what + " must be a key id or [row, column]");
    }
    out = ref;
    return true;
}

bool parseFlags(const json& j, const Problem& where, std::string& error, WORD& out) {
    static const std::map<std::string, WORD> names = {{"calc", LF_CALC},
                                                      {"tasks", LF_TASKS},
                                                      {"launcher", LF_LAUNCHER},
                                                      {"macros", LF_MACROS},
                                                      {"releaseOnEnter", LF_RELEASE_ON_ENTER},
                                                      {"releaseOnLeave", LF_RELEASE_ON_LEAVE}};
    if (!j.is_array()) {
        long long value = 0;
        if (!readInteger(j, 0, 0xFFFF, "\"flags\"", where, error, value))
            return false;
        out = static_cast<WORD>(value);
        return true;
    }
    out = 0;
    for (const json& name : j) {
        auto found = name.is_string() ? names.find(name.get<std::string>()) : names.end();
        if (found == names.end())
            return where.fail(error,
                              "\"flags\" are names among calc, tasks, launcher, macros, "
                              "releaseOnEnter, releaseOnLeave");
        out |= found->second;
    }
    return true;
}

bool parseFace(const json& j, const Problem& where, std::string& error, FaceSource& face) {
    if (!j.is_object())
        return where.fail(error, "a face is an object");
    if (!onlyMembers(j,
                     {"flags", "keyboard", "alternate", "gestures", "rows", "rowHeights",
                      "reference", "pictures"},
                     where, error))
        return false;
    if (j.contains("flags") && !parseFlags(j["flags"], where, error, face.flags))
        return false;
    if (j.contains("keyboard")) {
        const json& k = j["keyboard"];
        if (k == "farsi")
            face.keyboard = Keyboard::Farsi;
        else if (k == "latin")
            face.keyboard = Keyboard::Latin;
        else
            return where.fail(error, "\"keyboard\" must be \"farsi\" or \"latin\"");
    }
    if (j.contains("alternate")) {
        LayoutRef alternate;
        if (!readLayoutRef(j["alternate"], "\"alternate\"", where, error, alternate))
            return false;
        face.alternate = alternate;
    }
    if (j.contains("gestures")) {
        const json& g = j["gestures"];
        if (!g.is_object() || !onlyMembers(g, {"down", "right", "left"}, where, error))
            return error.empty() ? where.fail(error, "\"gestures\" is an object") : false;
        if ((g.contains("down") &&
             !parseGesture(g["down"], "down gesture", where, error, face.down)) ||
            (g.contains("right") &&
             !parseGesture(g["right"], "right gesture", where, error, face.right)) ||
            (g.contains("left") &&
             !parseGesture(g["left"], "left gesture", where, error, face.left)))
            return false;
    }
    if (j.contains("reference")) {
        const json& r = j["reference"];
        long long w = 0, h = 0;
        if (!r.is_array() || r.size() != 2)
            return where.fail(error, "\"reference\" must be [width, height]");
        if (!readInteger(r[0], 1, kMaxPanelWidth, "reference width", where, error, w) ||
            !readInteger(r[1], 1, kMaxPanelHeight, "reference height", where, error, h))
            return false;
        face.reference = {static_cast<int>(w), static_cast<int>(h)};
    }
    if (j.contains("pictures")) {
        const json& p = j["pictures"];
        if (!p.is_object())
            return where.fail(error, "\"pictures\" maps dimension classes to PNG files");
        for (const auto& item : p.items()) {
            if (item.key() != "P" && item.key() != "PH" && item.key() != "L" && item.key() != "LH")
                return where.fail(error, "\"pictures\" has no class \"" + item.key() + "\"");
            if (!item.value().is_string() || item.value().get_ref<const std::string&>().empty())
                return where.fail(error,
                                  "the picture of class " + item.key() + " must be a file name");
            face.pictures[item.key()] = item.value().get<std::string>();
        }
    }
    if (!j.contains("rows") || !j["rows"].is_array() || j["rows"].empty() ||
        j["rows"].size() > static_cast<size_t>(kMaxRows))
        return where.fail(error, "\"rows\" must hold 1 to 6 rows");
    for (size_t r = 0; r < j["rows"].size(); ++r) {
        const json& row = j["rows"][r];
        Problem rowWhere = where.at("row " + std::to_string(r));
        if (!row.is_array() || row.empty() || row.size() > static_cast<size_t>(kMaxKeysPerRow))
            return rowWhere.fail(error, "a row must hold 1 to 30 keys");
        std::vector<KeySource> keys;
        for (size_t k = 0; k < row.size(); ++k) {
            KeySource key;
            if (!parseKey(row[k], face.keyboard, rowWhere.at("col " + std::to_string(k)), error,
                          key))
                return false;
            keys.push_back(std::move(key));
        }
        face.rows.push_back(std::move(keys));
    }
    if (j.contains("rowHeights")) {
        const json& h = j["rowHeights"];
        if (!h.is_array() || h.size() != face.rows.size())
            return where.fail(error, "\"rowHeights\" must give one height per row");
        for (const json& value : h) {
            double units = 0;
            if (!readNumber(value, 0.05, kMaxKeyUnits, "row heights", where, error, units))
                return false;
            face.rowHeights.push_back(units);
        }
    }
    std::set<std::string> ids;
    for (const auto& row : face.rows) {
        for (const KeySource& key : row) {
            if (!key.id.empty() && !ids.insert(key.id).second)
                return where.fail(error, "two keys have the id \"" + key.id + "\"");
        }
    }
    return true;
}

bool parseTheme(const json& j, const Problem& where, std::string& error, Theme& theme) {
    if (!j.is_object())
        return where.fail(error, "\"theme\" is an object of colours");
    const std::pair<const char*, COLORREF*> members[] = {
        {"background", &theme.background},   {"key", &theme.key},
        {"keyEdge", &theme.keyEdge},         {"label", &theme.label},
        {"functionKey", &theme.functionKey}, {"functionLabel", &theme.functionLabel},
        {"accentKey", &theme.accentKey},     {"accentLabel", &theme.accentLabel},
        {"display", &theme.display},         {"hint", &theme.hint}};
    for (const auto& item : j.items()) {
        bool known = false;
        for (const auto& [name, target] : members) {
            if (item.key() == name) {
                known = true;
                if (!readColour(item.value(), "theme \"" + item.key() + "\"", where, error,
                                *target))
                    return false;
            }
        }
        if (!known)
            return where.fail(error, "unknown theme colour \"" + item.key() + "\"");
    }
    return true;
}

bool parseClass(const json& j, const std::string& name, const Problem& where, std::string& error,
                ClassSource& out) {
    out.name = name;
    if (!j.is_object() || !onlyMembers(j, {"size", "layouts"}, where, error))
        return error.empty() ? where.fail(error, "a class is an object") : false;
    const json* size = j.contains("size") ? &j["size"] : nullptr;
    if (size == nullptr || !size->is_array() || size->size() != 2)
        return where.fail(error, "\"size\" must be [width, height]");
    long long w = 0, h = 0;
    if (!readInteger((*size)[0], 1, kMaxPanelWidth, "panel width", where, error, w) ||
        !readInteger((*size)[1], 1, kMaxPanelHeight, "panel height", where, error, h))
        return false;
    out.width = static_cast<int>(w);
    out.height = static_cast<int>(h);
    if (!j.contains("layouts") || !j["layouts"].is_array() || j["layouts"].empty() ||
        j["layouts"].size() > kMaxLayoutsPerClass)
        return where.fail(error, "\"layouts\" must list 1 to 128 faces");
    std::set<std::string> names;
    for (size_t i = 0; i < j["layouts"].size(); ++i) {
        const json& entry = j["layouts"][i];
        Problem entryWhere = where.at("layout " + std::to_string(i));
        LayoutEntrySource layout;
        if (entry.is_string()) {
            layout.name = layout.face = entry.get<std::string>();
        } else if (entry.is_object() && entry.contains("name") && entry.contains("face") &&
                   entry.size() == 2 && entry["name"].is_string() && entry["face"].is_string()) {
            layout.name = entry["name"].get<std::string>();
            layout.face = entry["face"].get<std::string>();
        } else {
            return entryWhere.fail(error,
                                   "a layout is a face name or {\"name\": ..., \"face\": ...}");
        }
        if (!names.insert(layout.name).second)
            return entryWhere.fail(error,
                                   "the class already has a layout named \"" + layout.name + "\"");
        out.layouts.push_back(std::move(layout));
    }
    return true;
}

}  // namespace

bool parseSkinSource(std::string_view text, const std::string& fileName, SkinSource& source,
                     std::string& error) {
    source = SkinSource();
    json root;
    try {
        root = json::parse(text.begin(), text.end());
    } catch (const json::exception& e) {
        error = fileName + ": " + e.what();
        return false;
    }
    Problem where(fileName);
    if (!root.is_object())
        return where.fail(error, "the skin is a JSON object");
    if (!onlyMembers(root, {"textColor", "frameColor", "helpFile", "theme", "faces", "classes"},
                     where, error))
        return false;
    if (root.contains("textColor") &&
        !readColour(root["textColor"], "\"textColor\"", where, error, source.textColor))
        return false;
    if (root.contains("frameColor") &&
        !readColour(root["frameColor"], "\"frameColor\"", where, error, source.frameColor))
        return false;
    if (root.contains("helpFile")) {
        if (!readText(root["helpFile"], "\"helpFile\"", where, error, source.helpFile))
            return false;
        if (source.helpFile.size() > kMaxHelpPath)
            return where.fail(error, "\"helpFile\" is longer than a device path can be (" +
                                         std::to_string(kMaxHelpPath) + " characters)");
    }
    if (root.contains("theme") && !parseTheme(root["theme"], where, error, source.theme))
        return false;
    if (!root.contains("faces") || !root["faces"].is_object() || root["faces"].empty())
        return where.fail(error, "\"faces\" must name at least one face");
    for (const auto& item : root["faces"].items()) {
        FaceSource face;
        if (!parseFace(item.value(), where.at("face \"" + item.key() + "\""), error, face))
            return false;
        source.faces.emplace(item.key(), std::move(face));
    }
    if (!root.contains("classes") || !root["classes"].is_object() || root["classes"].empty())
        return where.fail(error, "\"classes\" must hold at least one of P, PH, L, LH");
    for (const auto& item : root["classes"].items()) {
        if (item.key() != "P" && item.key() != "PH" && item.key() != "L" && item.key() != "LH")
            return where.fail(error, "\"classes\" has no class \"" + item.key() +
                                         "\" (the classes are P, PH, L, LH)");
    }
    for (const char* name : {"P", "PH", "L", "LH"}) {
        if (!root["classes"].contains(name))
            continue;
        ClassSource cls;
        if (!parseClass(root["classes"][name], name, where.at(std::string("class ") + name), error,
                        cls))
            return false;
        for (size_t i = 0; i < cls.layouts.size(); ++i) {
            if (source.faces.find(cls.layouts[i].face) == source.faces.end())
                return where.at(std::string("class ") + name + ", layout " + std::to_string(i))
                    .fail(error, "no face is named \"" + cls.layouts[i].face + "\"");
        }
        source.classes.push_back(std::move(cls));
    }
    return true;
}
