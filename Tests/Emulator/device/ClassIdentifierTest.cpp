// Class identifiers as the input panel host reads them from the registry: the text form
// written and read back, and malformed texts refused.
#include <gtest/gtest.h>

#include "sip/InputMethodCatalog.h"

namespace {

TEST(ClassIdentifiers, TextRoundTripsAndMalformedTextIsRefused) {
    const std::u16string text = u"{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}";
    auto clsid = parseClsid(text);
    ASSERT_TRUE(clsid.has_value());
    EXPECT_EQ(clsid->Data1, 0x6B1D3E27u);
    EXPECT_EQ(clsid->Data2, 0x4C8A);
    EXPECT_EQ(clsid->Data4[7], 0x81);
    EXPECT_EQ(clsidText(*clsid), text);
    EXPECT_TRUE(parseClsid(u"{6b1d3e27-4c8a-4f19-9e52-a07d3c2b5e81}").has_value());
    EXPECT_FALSE(parseClsid(u"6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81").has_value());
    EXPECT_FALSE(parseClsid(u"{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E8G}").has_value());
    EXPECT_FALSE(parseClsid(u"{6B1D3E27+4C8A-4F19-9E52-A07D3C2B5E81}").has_value());
    EXPECT_FALSE(parseClsid(u"").has_value());
}

}  // namespace
