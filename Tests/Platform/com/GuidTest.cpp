// GUIDs: the text form both ways, as CLSID registry keys use it.
#include <gtest/gtest.h>
#include <guiddef.h>

namespace {

constexpr GUID kKelvoClass = {
    0x6B1D3E27, 0x4C8A, 0x4F19, {0x9E, 0x52, 0xA0, 0x7D, 0x3C, 0x2B, 0x5E, 0x81}};

TEST(Guid, TextFormRoundTripsAndIgnoresHexCase) {
    EXPECT_EQ(platform::guidToString(kKelvoClass), u"{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}");
    auto parsed = platform::guidFromString(u"{6b1d3e27-4c8a-4f19-9e52-a07d3c2b5e81}");
    ASSERT_TRUE(parsed.has_value());
    EXPECT_TRUE(IsEqualGUID(*parsed, kKelvoClass));
}

TEST(Guid, MalformedTextIsRejected) {
    EXPECT_FALSE(platform::guidFromString(u"6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81").has_value());
    EXPECT_FALSE(platform::guidFromString(u"{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E8G}").has_value());
    EXPECT_FALSE(platform::guidFromString(u"{6B1D3E27+4C8A-4F19-9E52-A07D3C2B5E81}").has_value());
    EXPECT_FALSE(platform::guidFromString(u"").has_value());
}

}  // namespace
