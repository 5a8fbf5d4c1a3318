// The Farsi edit control's paragraph list: the paragraphs it owns in document order, each
// knowing its place (paraIndex), renumbered on every insertion and removal. It starts with room
// for 100 and grows, so that an Enter is never refused for want of room.
#pragma once

#include <memory>
#include <vector>

#include "farsiedit/CBidiPara.h"

class ParaList {
public:
    static constexpr int kInitialCapacity = 100;

    ParaList() { m_paras.reserve(kInitialCapacity); }

    int count() const { return static_cast<int>(m_paras.size()); }
    // The paragraph at `index`, null outside the list.
    CBidiPara* at(int index) const {
        return index >= 0 && index < count() ? m_paras[static_cast<size_t>(index)].get() : nullptr;
    }
    CBidiPara* last() const { return at(count() - 1); }

    // Inserts before `index` (0..count); returns the paragraph.
    CBidiPara* insert(int index, std::unique_ptr<CBidiPara> para);
    // Deletes the paragraph at `index`.
    void remove(int index);
    // Deletes every paragraph from `index` on.
    void truncate(int index);

private:
    void renumberFrom(int index);

    std::vector<std::unique_ptr<CBidiPara>> m_paras;
};
