// Key rectangles: rows share the panel's height by their height units and keys share a row's
// width by their width units, with edges rounded to whole pixels so that neighbours meet
// exactly; a key with its own rectangle is scaled from the face's reference size instead.
#include "SkinCompiler.h"

#include <cmath>

#include "skin/SkinLayout.h"

namespace {

LONG scaled(double value, int size, int reference) {
    return static_cast<LONG>(std::lround(value * size / reference));
}

LONG edge(double done, double total, int size) {
    return static_cast<LONG>(std::lround(done / total * size));
}

class ClassCompiler {
public:
    ClassCompiler(const SkinSource& source, const ClassSource& cls, const std::string& fileName,
                  std::string& error)
        : m_source(source), m_class(cls), m_file(fileName), m_error(error) {}

    bool compile(CompiledClass& out) {
        out.name = m_class.name;
        out.width = m_class.width;
        out.height = m_class.height;
        for (size_t n = 0; n < m_class.layouts.size(); ++n) {
            CompiledLayout layout;
            if (!compileLayout(n, layout))
                return false;
            out.layouts.push_back(std::move(layout));
        }
        addHints(out);
        return true;
    }

private:
    std::string where(size_t n) const {
        return m_file + ": class " + m_class.name + ", layout " + std::to_string(n) + " (\"" +
               m_class.layouts[n].name + "\")";
    }
    bool fail(size_t n, const std::string& what) {
        m_error = where(n) + ": " + what;
        return false;
    }
    bool failKey(size_t n, size_t row, size_t col, const std::string& what) {
        return fail(n, "row " + std::to_string(row) + " col " + std::to_string(col) + ": " + what);
    }

    bool resolve(const LayoutRef& ref, int& number) const {
        if (ref.name.empty()) {
            number = ref.number;
            return number >= 0 && static_cast<size_t>(number) < m_class.layouts.size();
        }
        for (size_t i = 0; i < m_class.layouts.size(); ++i) {
            if (m_class.layouts[i].name == ref.name) {
                number = static_cast<int>(i);
                return true;
            }
        }
        return false;
    }
    std::string describe(const LayoutRef& ref) const {
        return ref.name.empty() ? std::to_string(ref.number) : "\"" + ref.name + "\"";
    }

    bool gesture(size_t n, const FaceSource& face, const std::optional<GestureRef>& ref,
                 const char* direction, GesturePosition& out) {
        if (!ref)
            return true;
        if (!ref->id.empty()) {
            for (size_t r = 0; r < face.rows.size(); ++r) {
                for (size_t k = 0; k < face.rows[r].size(); ++k) {
                    if (face.rows[r][k].id == ref->id) {
                        out = {static_cast<int32_t>(r), static_cast<int32_t>(k)};
                        return true;
                    }
                }
            }
            return fail(n, std::string("the ") + direction + " gesture names key \"" + ref->id +
                               "\", which the face does not have");
        }
        if (static_cast<size_t>(ref->row) >= face.rows.size() ||
            static_cast<size_t>(ref->col) >= face.rows[static_cast<size_t>(ref->row)].size())
            return fail(n, std::string("the ") + direction + " gesture names row " +
                               std::to_string(ref->row) + " col " + std::to_string(ref->col) +
                               ", where the face has no key");
        out = {ref->row, ref->col};
        return true;
    }

    static KeyStyle autoStyle(const SkinKeyEntry& key, WORD layoutFlags, size_t row, size_t col) {
        const WORD kind = key.flags & KF_KIND_MASK;
        if (kind == 0)
            return (layoutFlags & LF_CALC) && row == 0 && col == 0 ? KeyStyle::Display
                                                                   : KeyStyle::Function;
        if ((kind & KF_MACRO) && key.vk == 0)
            return KeyStyle::Blank;
        if ((kind & KF_TASKS) && key.vk <= 1)
            return KeyStyle::Blank;
        if ((kind & KF_LAUNCH) && key.vk <= 1)
            return KeyStyle::Blank;
        if (kind == KF_OUTPUT && key.param >= 0x20 && key.param != 0x7F)
            return KeyStyle::Char;
        return KeyStyle::Function;
    }

    bool compileLayout(size_t n, CompiledLayout& out) {
        const LayoutEntrySource& entrySource = m_class.layouts[n];
        const FaceSource& face = m_source.faces.at(entrySource.face);
        out.name = entrySource.name;
        out.face = entrySource.face;
        auto picture = face.pictures.find(m_class.name);
        if (picture != face.pictures.end())
            out.pictureFile = picture->second;
        SkinLayoutEntry& entry = out.entry;
        entry.flags = face.flags;
        entry.width = m_class.width;
        entry.height = m_class.height;
        if (face.alternate) {
            int alt = -1;
            if (!resolve(*face.alternate, alt))
                return fail(n, "the alternate layout " + describe(*face.alternate) +
                                   " is not a layout of class " + m_class.name);
            entry.alt = static_cast<signed char>(alt);
        }
        if (!gesture(n, face, face.down, "down", entry.down) ||
            !gesture(n, face, face.right, "right", entry.right) ||
            !gesture(n, face, face.left, "left", entry.left))
            return false;

        double totalHeight = 0;
        for (size_t r = 0; r < face.rows.size(); ++r)
            totalHeight += face.rowHeights.empty() ? 1 : face.rowHeights[r];
        double heightDone = 0;
        for (size_t r = 0; r < face.rows.size(); ++r) {
            const double rowUnits = face.rowHeights.empty() ? 1 : face.rowHeights[r];
            const LONG top = edge(heightDone, totalHeight, m_class.height);
            heightDone += rowUnits;
            const LONG bottom = edge(heightDone, totalHeight, m_class.height);
            if (bottom <= top)
                return fail(n, "row " + std::to_string(r) + " is less than a pixel high");
            double totalWidth = 0;
            for (const KeySource& key : face.rows[r])
                totalWidth += key.rect ? 0 : key.width;
            double widthDone = 0;
            std::vector<SkinKeyEntry> keys;
            std::vector<KeyLook> looks;
            for (size_t k = 0; k < face.rows[r].size(); ++k) {
                const KeySource& source = face.rows[r][k];
                SkinKeyEntry key{source.flags, source.param, source.vk, {}};
                if (source.gotoTarget) {
                    int target = -1;
                    if (!resolve(*source.gotoTarget, target))
                        return failKey(n, r, k,
                                       "goto target " + describe(*source.gotoTarget) +
                                           " is not a layout of class " + m_class.name);
                    key.param = static_cast<WORD>(target);
                }
                if (source.rect) {
                    const auto& [l, t, rr, b] = *source.rect;
                    key.rect = {scaled(l, m_class.width, face.reference[0]),
                                scaled(t, m_class.height, face.reference[1]),
                                scaled(rr, m_class.width, face.reference[0]),
                                scaled(b, m_class.height, face.reference[1])};
                    if (key.rect.right > m_class.width || key.rect.bottom > m_class.height)
                        return failKey(n, r, k,
                                       "its rectangle reaches past the " +
                                           std::to_string(m_class.width) + "x" +
                                           std::to_string(m_class.height) + " panel");
                } else {
                    key.rect.left = edge(widthDone, totalWidth, m_class.width);
                    widthDone += source.width;
                    key.rect.right = edge(widthDone, totalWidth, m_class.width);
                    key.rect.top = top;
                    key.rect.bottom = bottom;
                }
                if (key.rect.right <= key.rect.left || key.rect.bottom <= key.rect.top)
                    return failKey(n, r, k, "the key is less than a pixel wide at this size");
                KeyLook look;
                look.label = source.label;
                look.style = source.style == KeyStyle::Auto ? autoStyle(key, face.flags, r, k)
                                                            : source.style;
                keys.push_back(key);
                looks.push_back(std::move(look));
            }
            entry.rows.push_back(std::move(keys));
            out.looks.push_back(std::move(looks));
        }
        return true;
    }

    // A character key whose alternate key types another character shows it small.
    static void addHints(CompiledClass& cls) {
        for (CompiledLayout& layout : cls.layouts) {
            if (layout.entry.alt < 0)
                continue;
            const CompiledLayout& alt = cls.layouts[static_cast<size_t>(layout.entry.alt)];
            for (size_t r = 0; r < layout.looks.size() && r < alt.looks.size(); ++r) {
                for (size_t k = 0; k < layout.looks[r].size() && k < alt.looks[r].size(); ++k) {
                    const SkinKeyEntry& key = layout.entry.rows[r][k];
                    const SkinKeyEntry& other = alt.entry.rows[r][k];
                    if (layout.looks[r][k].style == KeyStyle::Char &&
                        alt.looks[r][k].style == KeyStyle::Char && (other.flags & KF_OUTPUT) &&
                        other.param != key.param)
                        layout.looks[r][k].hint = alt.looks[r][k].label;
                }
            }
        }
    }

    const SkinSource& m_source;
    const ClassSource& m_class;
    const std::string& m_file;
    std::string& m_error;
};

}  // namespace

bool compileLayouts(const SkinSource& source, const std::string& fileName,
                    std::vector<CompiledClass>& classes, std::string& error) {
    classes.clear();
    for (const ClassSource& cls : source.classes) {
        CompiledClass compiled;
        if (!ClassCompiler(source, cls, fileName, error).compile(compiled))
            return false;
        classes.push_back(std::move(compiled));
    }
    return true;
}
