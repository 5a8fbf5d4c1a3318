// The paragraph list.
#include "farsiedit/ParaList.h"

#include <algorithm>

CBidiPara* ParaList::insert(int index, std::unique_ptr<CBidiPara> para) {
    index = std::clamp(index, 0, count());
    CBidiPara* raw = para.get();
    m_paras.insert(m_paras.begin() + index, std::move(para));
    renumberFrom(index);
    return raw;
}

void ParaList::remove(int index) {
    if (index < 0 || index >= count())
        return;
    m_paras.erase(m_paras.begin() + index);
    renumberFrom(index);
}

void ParaList::truncate(int index) {
    if (index < 0 || index >= count())
        return;
    m_paras.erase(m_paras.begin() + index, m_paras.end());
}

void ParaList::renumberFrom(int index) {
    for (int i = index; i < count(); ++i)
        m_paras[static_cast<size_t>(i)]->paraIndex = i;
}
