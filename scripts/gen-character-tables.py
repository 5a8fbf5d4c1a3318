#!/usr/bin/env python3
# Writes Source/Platform/kernel/CharacterTables.cpp: the character classes and simple case
# mappings behind iswctype, towlower and towupper, taken from Python's Unicode database for the
# scripts the device shows (Latin, Greek, Cyrillic, Armenian, Hebrew, Arabic and Farsi, CJK).
import os
import shutil
import subprocess
import unicodedata as ud

BLOCKS = [(0x0000, 0x02FF), (0x0370, 0x058F), (0x0590, 0x05FF), (0x0600, 0x06FF),
          (0x0750, 0x077F), (0x1E00, 0x1FFF), (0x2000, 0x206F), (0x20A0, 0x20CF),
          (0x2100, 0x214F), (0x2460, 0x24FF), (0x3000, 0x30FF), (0x4E00, 0x9FFF),
          (0xAC00, 0xD7A3), (0xFB50, 0xFDFF), (0xFE70, 0xFEFF), (0xFF00, 0xFFEF)]
# The keyboard treats these Arabic-script ranges as letters throughout (marks included).
ARABIC_LETTERS = [(0x0621, 0x064A), (0x066E, 0x06D3), (0x06FA, 0x06FF)]

UPPER, LOWER, DIGIT, SPACE, PUNCT, CONTROL, BLANK, HEX, ALPHA = (
    0x1, 0x2, 0x4, 0x8, 0x10, 0x20, 0x40, 0x80, 0x100)


def codes():
    for first, last in BLOCKS:
        yield from range(first, last + 1)


def covered(c):
    return any(first <= c <= last for first, last in BLOCKS)


def single(text):
    # Only mappings that stay inside the covered blocks, so that both sides have their class.
    return ord(text) if len(text) == 1 and covered(ord(text)) else None


to_lower, to_upper = {}, {}
for c in codes():
    if ud.category(chr(c))[0] != 'L':
        continue
    lower, upper = single(chr(c).lower()), single(chr(c).upper())
    if lower is not None and lower != c:
        to_lower[c] = lower
    if upper is not None and upper != c:
        to_upper[c] = upper


def char_class(c):
    if any(first <= c <= last for first, last in ARABIC_LETTERS):
        return ALPHA
    cat = ud.category(chr(c))
    mask = 0
    if cat[0] == 'L':
        mask |= ALPHA
        # Upper and lower case follow from the mappings; only caseless letters are marked here.
        if cat in ('Lu', 'Lt') and c not in to_lower:
            mask |= UPPER
        if cat == 'Ll' and c not in to_upper:
            mask |= LOWER
    elif cat == 'Nd':
        mask |= DIGIT
    elif cat[0] in 'PS':
        mask |= PUNCT
    elif cat == 'Zs':
        mask |= SPACE | BLANK
    elif cat in ('Zl', 'Zp'):
        mask |= SPACE
    elif cat == 'Cc':
        mask |= CONTROL
    if c == 0x09:
        mask |= SPACE | BLANK
    if 0x0A <= c <= 0x0D:
        mask |= SPACE
    if chr(c) in '0123456789abcdefABCDEF':
        mask |= HEX
    return mask


def class_ranges():
    out = []
    for c in codes():
        mask = char_class(c)
        if mask == 0:
            continue
        if out and out[-1][1] == c - 1 and out[-1][2] == mask:
            out[-1][1] = c
        else:
            out.append([c, c, mask])
    return out


def case_ranges(mapping):
    # Runs of one delta (step 1), and alternating pairs where every second code maps (step 2).
    items = sorted(mapping.items())
    out, i = [], 0
    while i < len(items):
        c, target = items[i]
        delta, j = target - c, i
        if abs(delta) == 1:
            while (j + 1 < len(items) and items[j + 1][0] == items[j][0] + 2
                   and items[j + 1][1] - items[j + 1][0] == delta):
                j += 1
            if j > i:
                out.append((c, items[j][0], delta, 2))
                i = j + 1
                continue
        while (j + 1 < len(items) and items[j + 1][0] == items[j][0] + 1
               and items[j + 1][1] - items[j + 1][0] == delta):
            j += 1
        out.append((c, items[j][0], delta, 1))
        i = j + 1
    return out


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
    path = os.path.join(root, 'Source', 'Platform', 'kernel', 'CharacterTables.cpp')
    lines = [
        '// Character classes and simple case mappings of the UTF-16 C library forms, as data.',
        f'// Written by scripts/gen-character-tables.py from the Unicode {ud.unidata_version} '
        'character database;',
        '// regenerate rather than edit.',
        '#include "kernel/CharacterTables.h"',
        '',
        'namespace platform {',
        '',
        'namespace {',
        '',
        'constexpr CharClassRange kClassRanges[] = {',
    ]
    lines += [f'    {{0x{a:04X}, 0x{b:04X}, 0x{m:03X}}},' for a, b, m in class_ranges()]
    lines += ['};', '', 'constexpr CaseRange kLowerRanges[] = {']
    lines += [f'    {{0x{a:04X}, 0x{b:04X}, {d}, {s}}},' for a, b, d, s in case_ranges(to_lower)]
    lines += ['};', '', 'constexpr CaseRange kUpperRanges[] = {']
    lines += [f'    {{0x{a:04X}, 0x{b:04X}, {d}, {s}}},' for a, b, d, s in case_ranges(to_upper)]
    lines += ['};', '', '}  // namespace', '',
              'const std::span<const CharClassRange> kCharClassTable{kClassRanges};',
              'const std::span<const CaseRange> kToLowerTable{kLowerRanges};',
              'const std::span<const CaseRange> kToUpperTable{kUpperRanges};', '',
              '}  // namespace platform', '']
    with open(path, 'w', encoding='ascii') as out:
        out.write('\n'.join(lines))
    if shutil.which('clang-format'):
        subprocess.run(['clang-format', '-i', path], check=True)


main()
