// The character table and the joining-form table checked against the character ranges they
// are meant to hold and against the Unicode Arabic presentation forms.
#include <farsiedit/BidiTables.h>
#include <gtest/gtest.h>

#include <vector>

using namespace bidi;

namespace {

struct Range {
    uint16_t first;
    uint16_t last;
    BidiClass bidiClass;
    int joinRow;  // first row of the range, counting up; 0 or kDrop for the whole range
};

constexpr int D = kDrop;

const Range kRanges[] = {
    {0x000A, 0x000A, ON, D},  {0x000D, 0x000D, ON, D},  {0x0023, 0x0025, ET, 0},
    {0x002B, 0x002B, ES, 0},  {0x002C, 0x002C, CS, 0},  {0x002D, 0x002D, ES, 0},
    {0x002E, 0x002F, CS, 0},  {0x0030, 0x0039, EN, 0},  {0x003A, 0x003A, CS, 0},
    {0x0041, 0x005A, L, 0},   {0x0061, 0x007A, L, 0},   {0x00A0, 0x00A0, CS, 0},
    {0x00A2, 0x00A5, ET, 0},  {0x00AA, 0x00AA, L, 0},   {0x00AD, 0x00AD, BN, 0},
    {0x00B0, 0x00B1, ET, 0},  {0x00B2, 0x00B3, EN, 0},  {0x060C, 0x060C, CS, 0},
    {0x061B, 0x061B, AL, 0},  {0x061F, 0x061F, AL, 0},  {0x0621, 0x0621, AL, 0},
    {0x0622, 0x063A, AL, 1},  {0x0640, 0x064A, AL, 26}, {0x064B, 0x0655, NSM, 0},
    {0x0660, 0x0669, AN, 0},  {0x066A, 0x066A, ET, 0},  {0x066B, 0x066C, AN, 0},
    {0x066D, 0x066D, AL, 0},  {0x0670, 0x0670, NSM, 0}, {0x0671, 0x0673, AL, 37},
    {0x0674, 0x0678, AL, 0},  {0x0679, 0x067B, AL, 40}, {0x067C, 0x067D, AL, 0},
    {0x067E, 0x0680, AL, 43}, {0x0681, 0x0682, AL, 0},  {0x0683, 0x0684, AL, 46},
    {0x0685, 0x0685, AL, 0},  {0x0686, 0x0688, AL, 48}, {0x0689, 0x068B, AL, 0},
    {0x068C, 0x068E, AL, 51}, {0x068F, 0x0690, AL, 0},  {0x0691, 0x0691, AL, 54},
    {0x0692, 0x0697, AL, 0},  {0x0698, 0x0698, AL, 55}, {0x0699, 0x06A3, AL, 0},
    {0x06A4, 0x06A4, AL, 56}, {0x06A5, 0x06A5, AL, 0},  {0x06A6, 0x06A6, AL, 57},
    {0x06A7, 0x06A8, AL, 0},  {0x06A9, 0x06A9, AL, 58}, {0x06AA, 0x06AC, AL, 0},
    {0x06AD, 0x06AD, AL, 59}, {0x06AE, 0x06AE, AL, 0},  {0x06AF, 0x06AF, AL, 60},
    {0x06B0, 0x06B0, AL, 0},  {0x06B1, 0x06B1, AL, 61}, {0x06B2, 0x06B2, AL, 0},
    {0x06B3, 0x06B3, AL, 62}, {0x06B4, 0x06B9, AL, 0},  {0x06BA, 0x06BB, AL, 63},
    {0x06BC, 0x06BD, AL, 0},  {0x06BE, 0x06BE, AL, 65}, {0x06BF, 0x06BF, AL, 0},
    {0x06C0, 0x06C1, AL, 66}, {0x06C2, 0x06C4, AL, 0},  {0x06C5, 0x06C9, AL, 68},
    {0x06CA, 0x06CA, AL, 0},  {0x06CB, 0x06CC, AL, 73}, {0x06CD, 0x06CF, AL, 0},
    {0x06D0, 0x06D0, AL, 75}, {0x06D1, 0x06D1, AL, 0},  {0x06D2, 0x06D3, AL, 76},
    {0x06D4, 0x06D5, AL, 0},  {0x06D6, 0x06DC, NSM, 0}, {0x06DD, 0x06DE, AL, 0},
    {0x06DF, 0x06E4, NSM, 0}, {0x06E5, 0x06E8, AL, 0},  {0x06EA, 0x06ED, NSM, 0},
    {0x06F0, 0x06FE, EN, 0},  {0x200C, 0x200C, BN, D},  {0x200D, 0x200D, BN, 82},
    {0x200E, 0x200E, L, D},   {0x200F, 0x200F, R, D},   {0x2029, 0x2029, ON, D},
    {0x202A, 0x202A, LRE, D}, {0x202B, 0x202B, RLE, D}, {0x202C, 0x202C, PDF, D},
    {0x202D, 0x202D, LRO, D}, {0x202E, 0x202E, RLO, D}, {0x2212, 0x2212, ET, 0},
    {0xFEFF, 0xFEFF, BN, D},
};

// A letter's presentation forms: where they start and how many there are (2: isolated and
// final; 4: isolated, final, initial, medial).
struct Forms {
    uint16_t letter;
    uint16_t first;
    int count;
};

// Arabic Presentation Forms-B lists the basic letters U+0621..U+064A in order from U+FE80,
// each with 1, 2 or 4 forms; the order of forms within a letter is isolated, final, initial,
// medial. Tatweel (U+0640) has no entry there.
const std::pair<uint16_t, int> kFormsBCounts[] = {
    {0x0621, 1}, {0x0622, 2}, {0x0623, 2}, {0x0624, 2}, {0x0625, 2}, {0x0626, 4},
    {0x0627, 2}, {0x0628, 4}, {0x0629, 2}, {0x062A, 4}, {0x062B, 4}, {0x062C, 4},
    {0x062D, 4}, {0x062E, 4}, {0x062F, 2}, {0x0630, 2}, {0x0631, 2}, {0x0632, 2},
    {0x0633, 4}, {0x0634, 4}, {0x0635, 4}, {0x0636, 4}, {0x0637, 4}, {0x0638, 4},
    {0x0639, 4}, {0x063A, 4}, {0x0641, 4}, {0x0642, 4}, {0x0643, 4}, {0x0644, 4},
    {0x0645, 4}, {0x0646, 4}, {0x0647, 4}, {0x0648, 2}, {0x0649, 2}, {0x064A, 4},
};

// Arabic Presentation Forms-A entries of the extended letters in the table.
const Forms kFormsA[] = {
    {0x0671, 0xFB50, 2}, {0x067B, 0xFB52, 4}, {0x067E, 0xFB56, 4}, {0x0680, 0xFB5A, 4},
    {0x067A, 0xFB5E, 4}, {0x067F, 0xFB62, 4}, {0x0679, 0xFB66, 4}, {0x06A4, 0xFB6A, 4},
    {0x06A6, 0xFB6E, 4}, {0x0684, 0xFB72, 4}, {0x0683, 0xFB76, 4}, {0x0686, 0xFB7A, 4},
    {0x0687, 0xFB7E, 4}, {0x068D, 0xFB82, 2}, {0x068C, 0xFB84, 2}, {0x068E, 0xFB86, 2},
    {0x0688, 0xFB88, 2}, {0x0698, 0xFB8A, 2}, {0x0691, 0xFB8C, 2}, {0x06A9, 0xFB8E, 4},
    {0x06AF, 0xFB92, 4}, {0x06B3, 0xFB96, 4}, {0x06B1, 0xFB9A, 4}, {0x06BA, 0xFB9E, 2},
    {0x06BB, 0xFBA0, 4}, {0x06C0, 0xFBA4, 2}, {0x06C1, 0xFBA6, 4}, {0x06BE, 0xFBAA, 4},
    {0x06D2, 0xFBAE, 2}, {0x06D3, 0xFBB0, 2}, {0x06AD, 0xFBD3, 4}, {0x06C7, 0xFBD7, 2},
    {0x06C6, 0xFBD9, 2}, {0x06C8, 0xFBDB, 2}, {0x06CB, 0xFBDE, 2}, {0x06C5, 0xFBE0, 2},
    {0x06C9, 0xFBE2, 2}, {0x06D0, 0xFBE4, 4}, {0x06CC, 0xFBFC, 4},
};

void expectForms(uint16_t letter, uint16_t first, int count) {
    const int row = joinRowOf(letter);
    ASSERT_GT(row, 0) << std::hex << letter;
    const JoinTableRow& f = JoinTable[row];
    EXPECT_EQ(f.isolated, first) << std::hex << letter;
    EXPECT_EQ(f.final, first + 1) << std::hex << letter;
    EXPECT_EQ(f.initial, count == 4 ? first + 2 : 0) << std::hex << letter;
    EXPECT_EQ(f.medial, count == 4 ? first + 3 : 0) << std::hex << letter;
}

}  // namespace

TEST(CharTable, HoldsExactlyTheListedRangesInOrder) {
    std::vector<CharTableRow> expected;
    for (const Range& r : kRanges) {
        for (int c = r.first; c <= r.last; ++c) {
            const int row = r.joinRow > 0 ? r.joinRow + (c - r.first) : r.joinRow;
            expected.push_back({static_cast<uint16_t>(c), static_cast<int16_t>(row),
                                static_cast<uint16_t>(r.bidiClass)});
        }
    }
    ASSERT_EQ(expected.size(), static_cast<size_t>(kCharTableSize));
    for (int i = 0; i < kCharTableSize; ++i) {
        EXPECT_EQ(CharTable[i].code, expected[i].code) << "row " << i;
        EXPECT_EQ(CharTable[i].joinRow, expected[i].joinRow) << "row " << i;
        EXPECT_EQ(CharTable[i].bidiClass, expected[i].bidiClass) << "row " << i;
        if (i > 0) {
            EXPECT_LT(CharTable[i - 1].code, CharTable[i].code) << "row " << i;
        }
    }
}

TEST(CharTable, LookupFindsEveryRowAndDefaultsToNeutral) {
    for (int i = 0; i < kCharTableSize; ++i) {
        EXPECT_EQ(charTableIndex(CharTable[i].code), i);
    }
    // Space, tab, Hebrew alef and the neighbours of the first and last rows are not listed.
    for (WCHAR c : {u' ', u'\t', char16_t{0x05D0}, char16_t{0x0009}, char16_t{0xFFFF},
                    char16_t{0x0000}, char16_t{0x06E9}}) {
        EXPECT_EQ(charTableIndex(c), -1) << std::hex << static_cast<int>(c);
        EXPECT_EQ(classOf(c), ON);
        EXPECT_EQ(joinRowOf(c), 0);
    }
}

TEST(JoinTable, BasicLettersHaveTheirFormsBPresentationForms) {
    uint16_t next = 0xFE80;
    for (const auto& [letter, count] : kFormsBCounts) {
        if (joinRowOf(letter) > 0) {
            expectForms(letter, next, count);
        }
        next = static_cast<uint16_t>(next + count);
    }
    EXPECT_EQ(next, 0xFEF5);  // the lam-alef ligatures follow the letters
}

TEST(JoinTable, ExtendedLettersHaveTheirFormsAPresentationForms) {
    for (const Forms& f : kFormsA) {
        expectForms(f.letter, f.first, f.count);
    }
}

TEST(JoinTable, ExceptionsLigaturesAndLinks) {
    // Row 0 is empty; every row from 1 to 77 belongs to exactly one letter, in order.
    EXPECT_EQ(JoinTable[0].isolated | JoinTable[0].final | JoinTable[0].link, 0);
    int expectedRow = 1;
    for (int i = 0; i < kCharTableSize; ++i) {
        const int row = CharTable[i].joinRow;
        if (row > 0 && row <= 77) {
            EXPECT_EQ(row, expectedRow++) << std::hex << CharTable[i].code;
        }
    }
    EXPECT_EQ(expectedRow, 78);

    const JoinTableRow& tatweel = JoinTable[joinRowOf(0x0640)];
    EXPECT_EQ(tatweel.isolated, 0x0640);
    EXPECT_EQ(tatweel.medial, 0x0640);
    const JoinTableRow& maksura = JoinTable[joinRowOf(0x0649)];
    EXPECT_EQ(maksura.initial, 0);  // joins only towards the preceding letter
    EXPECT_EQ(JoinTable[joinRowOf(0x0672)].isolated, 0xFE83);
    EXPECT_EQ(JoinTable[joinRowOf(0x0673)].final, 0xFE88);

    // The four lam-alef ligatures, isolated and final.
    const uint16_t alefs[] = {0x0622, 0x0623, 0x0625, 0x0627};
    for (int k = 0; k < 4; ++k) {
        const int link = JoinTable[joinRowOf(alefs[k])].link;
        EXPECT_EQ(link >> 8, joinRowOf(0x0644));
        EXPECT_EQ(link & 0xFF, 78 + k);
        const JoinTableRow& ligature = JoinTable[78 + k];
        EXPECT_EQ(ligature.isolated, 0xFEF5 + 2 * k);
        EXPECT_EQ(ligature.final, 0xFEF6 + 2 * k);
        EXPECT_EQ(ligature.initial | ligature.medial | ligature.link, 0);
    }
    int links = 0;
    for (const JoinTableRow& row : JoinTable) {
        links += row.link != 0 ? 1 : 0;
    }
    EXPECT_EQ(links, 4);
    EXPECT_EQ(JoinTable[kZwjRow].initial, 0x200D);
    EXPECT_EQ(joinRowOf(0x200D), kZwjRow);
}
