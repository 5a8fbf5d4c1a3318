// The character table (code point, joining row, bidirectional class), sorted by code point, and
// the joining-form table of the Arabic-script letters, the lam-alef ligatures and ZWJ.
#include "farsiedit/BidiTables.h"

namespace bidi {

const CharTableRow CharTable[kCharTableSize] = {
    {0x000A, kDrop, ON},  {0x000D, kDrop, ON},  {0x0023, 0, ET},      {0x0024, 0, ET},
    {0x0025, 0, ET},      {0x002B, 0, ES},      {0x002C, 0, CS},      {0x002D, 0, ES},
    {0x002E, 0, CS},      {0x002F, 0, CS},      {0x0030, 0, EN},      {0x0031, 0, EN},
    {0x0032, 0, EN},      {0x0033, 0, EN},      {0x0034, 0, EN},      {0x0035, 0, EN},
    {0x0036, 0, EN},      {0x0037, 0, EN},      {0x0038, 0, EN},      {0x0039, 0, EN},
    {0x003A, 0, CS},      {0x0041, 0, L},       {0x0042, 0, L},       {0x0043, 0, L},
    {0x0044, 0, L},       {0x0045, 0, L},       {0x0046, 0, L},       {0x0047, 0, L},
    {0x0048, 0, L},       {0x0049, 0, L},       {0x004A, 0, L},       {0x004B, 0, L},
    {0x004C, 0, L},       {0x004D, 0, L},       {0x004E, 0, L},       {0x004F, 0, L},
    {0x0050, 0, L},       {0x0051, 0, L},       {0x0052, 0, L},       {0x0053, 0, L},
    {0x0054, 0, L},       {0x0055, 0, L},       {0x0056, 0, L},       {0x0057, 0, L},
    {0x0058, 0, L},       {0x0059, 0, L},       {0x005A, 0, L},       {0x0061, 0, L},
    {0x0062, 0, L},       {0x0063, 0, L},       {0x0064, 0, L},       {0x0065, 0, L},
    {0x0066, 0, L},       {0x0067, 0, L},       {0x0068, 0, L},       {0x0069, 0, L},
    {0x006A, 0, L},       {0x006B, 0, L},       {0x006C, 0, L},       {0x006D, 0, L},
    {0x006E, 0, L},       {0x006F, 0, L},       {0x0070, 0, L},       {0x0071, 0, L},
    {0x0072, 0, L},       {0x0073, 0, L},       {0x0074, 0, L},       {0x0075, 0, L},
    {0x0076, 0, L},       {0x0077, 0, L},       {0x0078, 0, L},       {0x0079, 0, L},
    {0x007A, 0, L},       {0x00A0, 0, CS},      {0x00A2, 0, ET},      {0x00A3, 0, ET},
    {0x00A4, 0, ET},      {0x00A5, 0, ET},      {0x00AA, 0, L},       {0x00AD, 0, BN},
    {0x00B0, 0, ET},      {0x00B1, 0, ET},      {0x00B2, 0, EN},      {0x00B3, 0, EN},
    {0x060C, 0, CS},      {0x061B, 0, AL},      {0x061F, 0, AL},      {0x0621, 0, AL},
    {0x0622, 1, AL},      {0x0623, 2, AL},      {0x0624, 3, AL},      {0x0625, 4, AL},
    {0x0626, 5, AL},      {0x0627, 6, AL},      {0x0628, 7, AL},      {0x0629, 8, AL},
    {0x062A, 9, AL},      {0x062B, 10, AL},     {0x062C, 11, AL},     {0x062D, 12, AL},
    {0x062E, 13, AL},     {0x062F, 14, AL},     {0x0630, 15, AL},     {0x0631, 16, AL},
    {0x0632, 17, AL},     {0x0633, 18, AL},     {0x0634, 19, AL},     {0x0635, 20, AL},
    {0x0636, 21, AL},     {0x0637, 22, AL},     {0x0638, 23, AL},     {0x0639, 24, AL},
    {0x063A, 25, AL},     {0x0640, 26, AL},     {0x0641, 27, AL},     {0x0642, 28, AL},
    {0x0643, 29, AL},     {0x0644, 30, AL},     {0x0645, 31, AL},     {0x0646, 32, AL},
    {0x0647, 33, AL},     {0x0648, 34, AL},     {0x0649, 35, AL},     {0x064A, 36, AL},
    {0x064B, 0, NSM},     {0x064C, 0, NSM},     {0x064D, 0, NSM},     {0x064E, 0, NSM},
    {0x064F, 0, NSM},     {0x0650, 0, NSM},     {0x0651, 0, NSM},     {0x0652, 0, NSM},
    {0x0653, 0, NSM},     {0x0654, 0, NSM},     {0x0655, 0, NSM},     {0x0660, 0, AN},
    {0x0661, 0, AN},      {0x0662, 0, AN},      {0x0663, 0, AN},      {0x0664, 0, AN},
    {0x0665, 0, AN},      {0x0666, 0, AN},      {0x0667, 0, AN},      {0x0668, 0, AN},
    {0x0669, 0, AN},      {0x066A, 0, ET},      {0x066B, 0, AN},      {0x066C, 0, AN},
    {0x066D, 0, AL},      {0x0670, 0, NSM},     {0x0671, 37, AL},     {0x0672, 38, AL},
    {0x0673, 39, AL},     {0x0674, 0, AL},      {0x0675, 0, AL},      {0x0676, 0, AL},
    {0x0677, 0, AL},      {0x0678, 0, AL},      {0x0679, 40, AL},     {0x067A, 41, AL},
    {0x067B, 42, AL},     {0x067C, 0, AL},      {0x067D, 0, AL},      {0x067E, 43, AL},
    {0x067F, 44, AL},     {0x0680, 45, AL},     {0x0681, 0, AL},      {0x0682, 0, AL},
    {0x0683, 46, AL},     {0x0684, 47, AL},     {0x0685, 0, AL},      {0x0686, 48, AL},
    {0x0687, 49, AL},     {0x0688, 50, AL},     {0x0689, 0, AL},      {0x068A, 0, AL},
    {0x068B, 0, AL},      {0x068C, 51, AL},     {0x068D, 52, AL},     {0x068E, 53, AL},
    {0x068F, 0, AL},      {0x0690, 0, AL},      {0x0691, 54, AL},     {0x0692, 0, AL},
    {0x0693, 0, AL},      {0x0694, 0, AL},      {0x0695, 0, AL},      {0x0696, 0, AL},
    {0x0697, 0, AL},      {0x0698, 55, AL},     {0x0699, 0, AL},      {0x069A, 0, AL},
    {0x069B, 0, AL},      {0x069C, 0, AL},      {0x069D, 0, AL},      {0x069E, 0, AL},
    {0x069F, 0, AL},      {0x06A0, 0, AL},      {0x06A1, 0, AL},      {0x06A2, 0, AL},
    {0x06A3, 0, AL},      {0x06A4, 56, AL},     {0x06A5, 0, AL},      {0x06A6, 57, AL},
    {0x06A7, 0, AL},      {0x06A8, 0, AL},      {0x06A9, 58, AL},     {0x06AA, 0, AL},
    {0x06AB, 0, AL},      {0x06AC, 0, AL},      {0x06AD, 59, AL},     {0x06AE, 0, AL},
    {0x06AF, 60, AL},     {0x06B0, 0, AL},      {0x06B1, 61, AL},     {0x06B2, 0, AL},
    {0x06B3, 62, AL},     {0x06B4, 0, AL},      {0x06B5, 0, AL},      {0x06B6, 0, AL},
    {0x06B7, 0, AL},      {0x06B8, 0, AL},      {0x06B9, 0, AL},      {0x06BA, 63, AL},
    {0x06BB, 64, AL},     {0x06BC, 0, AL},      {0x06BD, 0, AL},      {0x06BE, 65, AL},
    {0x06BF, 0, AL},      {0x06C0, 66, AL},     {0x06C1, 67, AL},     {0x06C2, 0, AL},
    {0x06C3, 0, AL},      {0x06C4, 0, AL},      {0x06C5, 68, AL},     {0x06C6, 69, AL},
    {0x06C7, 70, AL},     {0x06C8, 71, AL},     {0x06C9, 72, AL},     {0x06CA, 0, AL},
    {0x06CB, 73, AL},     {0x06CC, 74, AL},     {0x06CD, 0, AL},      {0x06CE, 0, AL},
    {0x06CF, 0, AL},      {0x06D0, 75, AL},     {0x06D1, 0, AL},      {0x06D2, 76, AL},
    {0x06D3, 77, AL},     {0x06D4, 0, AL},      {0x06D5, 0, AL},      {0x06D6, 0, NSM},
    {0x06D7, 0, NSM},     {0x06D8, 0, NSM},     {0x06D9, 0, NSM},     {0x06DA, 0, NSM},
    {0x06DB, 0, NSM},     {0x06DC, 0, NSM},     {0x06DD, 0, AL},      {0x06DE, 0, AL},
    {0x06DF, 0, NSM},     {0x06E0, 0, NSM},     {0x06E1, 0, NSM},     {0x06E2, 0, NSM},
    {0x06E3, 0, NSM},     {0x06E4, 0, NSM},     {0x06E5, 0, AL},      {0x06E6, 0, AL},
    {0x06E7, 0, AL},      {0x06E8, 0, AL},      {0x06EA, 0, NSM},     {0x06EB, 0, NSM},
    {0x06EC, 0, NSM},     {0x06ED, 0, NSM},     {0x06F0, 0, EN},      {0x06F1, 0, EN},
    {0x06F2, 0, EN},      {0x06F3, 0, EN},      {0x06F4, 0, EN},      {0x06F5, 0, EN},
    {0x06F6, 0, EN},      {0x06F7, 0, EN},      {0x06F8, 0, EN},      {0x06F9, 0, EN},
    {0x06FA, 0, EN},      {0x06FB, 0, EN},      {0x06FC, 0, EN},      {0x06FD, 0, EN},
    {0x06FE, 0, EN},      {0x200C, kDrop, BN},  {0x200D, 82, BN},     {0x200E, kDrop, L},
    {0x200F, kDrop, R},   {0x2029, kDrop, ON},  {0x202A, kDrop, LRE}, {0x202B, kDrop, RLE},
    {0x202C, kDrop, PDF}, {0x202D, kDrop, LRO}, {0x202E, kDrop, RLO}, {0x2212, 0, ET},
    {0xFEFF, kDrop, BN},
};

// Rows 1-77 follow the joining rows of CharTable; 78-81 are the lam-alef ligatures.
const JoinTableRow JoinTable[kJoinTableSize] = {
    {0, 0, 0, 0, 0},                                  // 0: no joining
    {0xFE81, 0xFE82, 0x0000, 0x0000, 30 * 256 + 78},  // 1: U+0622
    {0xFE83, 0xFE84, 0x0000, 0x0000, 30 * 256 + 79},  // 2: U+0623
    {0xFE85, 0xFE86, 0x0000, 0x0000, 0},              // 3: U+0624
    {0xFE87, 0xFE88, 0x0000, 0x0000, 30 * 256 + 80},  // 4: U+0625
    {0xFE89, 0xFE8A, 0xFE8B, 0xFE8C, 0},              // 5: U+0626
    {0xFE8D, 0xFE8E, 0x0000, 0x0000, 30 * 256 + 81},  // 6: U+0627
    {0xFE8F, 0xFE90, 0xFE91, 0xFE92, 0},              // 7: U+0628
    {0xFE93, 0xFE94, 0x0000, 0x0000, 0},              // 8: U+0629
    {0xFE95, 0xFE96, 0xFE97, 0xFE98, 0},              // 9: U+062A
    {0xFE99, 0xFE9A, 0xFE9B, 0xFE9C, 0},              // 10: U+062B
    {0xFE9D, 0xFE9E, 0xFE9F, 0xFEA0, 0},              // 11: U+062C
    {0xFEA1, 0xFEA2, 0xFEA3, 0xFEA4, 0},              // 12: U+062D
    {0xFEA5, 0xFEA6, 0xFEA7, 0xFEA8, 0},              // 13: U+062E
    {0xFEA9, 0xFEAA, 0x0000, 0x0000, 0},              // 14: U+062F
    {0xFEAB, 0xFEAC, 0x0000, 0x0000, 0},              // 15: U+0630
    {0xFEAD, 0xFEAE, 0x0000, 0x0000, 0},              // 16: U+0631
    {0xFEAF, 0xFEB0, 0x0000, 0x0000, 0},              // 17: U+0632
    {0xFEB1, 0xFEB2, 0xFEB3, 0xFEB4, 0},              // 18: U+0633
    {0xFEB5, 0xFEB6, 0xFEB7, 0xFEB8, 0},              // 19: U+0634
    {0xFEB9, 0xFEBA, 0xFEBB, 0xFEBC, 0},              // 20: U+0635
    {0xFEBD, 0xFEBE, 0xFEBF, 0xFEC0, 0},              // 21: U+0636
    {0xFEC1, 0xFEC2, 0xFEC3, 0xFEC4, 0},              // 22: U+0637
    {0xFEC5, 0xFEC6, 0xFEC7, 0xFEC8, 0},              // 23: U+0638
    {0xFEC9, 0xFECA, 0xFECB, 0xFECC, 0},              // 24: U+0639
    {0xFECD, 0xFECE, 0xFECF, 0xFED0, 0},              // 25: U+063A
    {0x0640, 0x0640, 0x0640, 0x0640, 0},              // 26: U+0640
    {0xFED1, 0xFED2, 0xFED3, 0xFED4, 0},              // 27: U+0641
    {0xFED5, 0xFED6, 0xFED7, 0xFED8, 0},              // 28: U+0642
    {0xFED9, 0xFEDA, 0xFEDB, 0xFEDC, 0},              // 29: U+0643
    {0xFEDD, 0xFEDE, 0xFEDF, 0xFEE0, 0},              // 30: U+0644
    {0xFEE1, 0xFEE2, 0xFEE3, 0xFEE4, 0},              // 31: U+0645
    {0xFEE5, 0xFEE6, 0xFEE7, 0xFEE8, 0},              // 32: U+0646
    {0xFEE9, 0xFEEA, 0xFEEB, 0xFEEC, 0},              // 33: U+0647
    {0xFEED, 0xFEEE, 0x0000, 0x0000, 0},              // 34: U+0648
    {0xFEEF, 0xFEF0, 0x0000, 0x0000, 0},              // 35: U+0649
    {0xFEF1, 0xFEF2, 0xFEF3, 0xFEF4, 0},              // 36: U+064A
    {0xFB50, 0xFB51, 0x0000, 0x0000, 0},              // 37: U+0671
    {0xFE83, 0xFE84, 0x0000, 0x0000, 0},              // 38: U+0672
    {0xFE87, 0xFE88, 0x0000, 0x0000, 0},              // 39: U+0673
    {0xFB66, 0xFB67, 0xFB68, 0xFB69, 0},              // 40: U+0679
    {0xFB5E, 0xFB5F, 0xFB60, 0xFB61, 0},              // 41: U+067A
    {0xFB52, 0xFB53, 0xFB54, 0xFB55, 0},              // 42: U+067B
    {0xFB56, 0xFB57, 0xFB58, 0xFB59, 0},              // 43: U+067E
    {0xFB62, 0xFB63, 0xFB64, 0xFB65, 0},              // 44: U+067F
    {0xFB5A, 0xFB5B, 0xFB5C, 0xFB5D, 0},              // 45: U+0680
    {0xFB76, 0xFB77, 0xFB78, 0xFB79, 0},              // 46: U+0683
    {0xFB72, 0xFB73, 0xFB74, 0xFB75, 0},              // 47: U+0684
    {0xFB7A, 0xFB7B, 0xFB7C, 0xFB7D, 0},              // 48: U+0686
    {0xFB7E, 0xFB7F, 0xFB80, 0xFB81, 0},              // 49: U+0687
    {0xFB88, 0xFB89, 0x0000, 0x0000, 0},              // 50: U+0688
    {0xFB84, 0xFB85, 0x0000, 0x0000, 0},              // 51: U+068C
    {0xFB82, 0xFB83, 0x0000, 0x0000, 0},              // 52: U+068D
    {0xFB86, 0xFB87, 0x0000, 0x0000, 0},              // 53: U+068E
    {0xFB8C, 0xFB8D, 0x0000, 0x0000, 0},              // 54: U+0691
    {0xFB8A, 0xFB8B, 0x0000, 0x0000, 0},              // 55: U+0698
    {0xFB6A, 0xFB6B, 0xFB6C, 0xFB6D, 0},              // 56: U+06A4
    {0xFB6E, 0xFB6F, 0xFB70, 0xFB71, 0},              // 57: U+06A6
    {0xFB8E, 0xFB8F, 0xFB90, 0xFB91, 0},              // 58: U+06A9
    {0xFBD3, 0xFBD4, 0xFBD5, 0xFBD6, 0},              // 59: U+06AD
    {0xFB92, 0xFB93, 0xFB94, 0xFB95, 0},              // 60: U+06AF
    {0xFB9A, 0xFB9B, 0xFB9C, 0xFB9D, 0},              // 61: U+06B1
    {0xFB96, 0xFB97, 0xFB98, 0xFB99, 0},              // 62: U+06B3
    {0xFB9E, 0xFB9F, 0x0000, 0x0000, 0},              // 63: U+06BA
    {0xFBA0, 0xFBA1, 0xFBA2, 0xFBA3, 0},              // 64: U+06BB
    {0xFBAA, 0xFBAB, 0xFBAC, 0xFBAD, 0},              // 65: U+06BE
    {0xFBA4, 0xFBA5, 0x0000, 0x0000, 0},              // 66: U+06C0
    {0xFBA6, 0xFBA7, 0xFBA8, 0xFBA9, 0},              // 67: U+06C1
    {0xFBE0, 0xFBE1, 0x0000, 0x0000, 0},              // 68: U+06C5
    {0xFBD9, 0xFBDA, 0x0000, 0x0000, 0},              // 69: U+06C6
    {0xFBD7, 0xFBD8, 0x0000, 0x0000, 0},              // 70: U+06C7
    {0xFBDB, 0xFBDC, 0x0000, 0x0000, 0},              // 71: U+06C8
    {0xFBE2, 0xFBE3, 0x0000, 0x0000, 0},              // 72: U+06C9
    {0xFBDE, 0xFBDF, 0x0000, 0x0000, 0},              // 73: U+06CB
    {0xFBFC, 0xFBFD, 0xFBFE, 0xFBFF, 0},              // 74: U+06CC
    {0xFBE4, 0xFBE5, 0xFBE6, 0xFBE7, 0},              // 75: U+06D0
    {0xFBAE, 0xFBAF, 0x0000, 0x0000, 0},              // 76: U+06D2
    {0xFBB0, 0xFBB1, 0x0000, 0x0000, 0},              // 77: U+06D3
    {0xFEF5, 0xFEF6, 0, 0, 0},                        // 78: lam with alef with madda above
    {0xFEF7, 0xFEF8, 0, 0, 0},                        // 79: lam with alef with hamza above
    {0xFEF9, 0xFEFA, 0, 0, 0},                        // 80: lam with alef with hamza below
    {0xFEFB, 0xFEFC, 0, 0, 0},                        // 81: lam with alef
    {0x200D, 0x200D, 0x200D, 0x200D, 0},              // 82: zero width joiner
};

int charTableIndex(WCHAR code) {
    int low = 0;
    int high = kCharTableSize - 1;
    while (low <= high) {
        const int middle = (low + high) >> 1;
        const uint16_t value = CharTable[middle].code;
        if (value < code) {
            low = middle + 1;
        } else if (value > code) {
            high = middle - 1;
        } else {
            return middle;
        }
    }
    return -1;
}

BidiClass classOf(WCHAR code) {
    const int index = charTableIndex(code);
    return index < 0 ? ON : static_cast<BidiClass>(CharTable[index].bidiClass);
}

int joinRowOf(WCHAR code) {
    const int index = charTableIndex(code);
    return index < 0 ? 0 : CharTable[index].joinRow;
}

}  // namespace bidi
