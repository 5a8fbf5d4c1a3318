// Contacts ("contacts.exe"): the list of the contacts in "\My Documents\Contacts.txt", by name,
// scrolled with the stylus and the keys; tapping a contact (or Enter) shows its details, and
// the back row (or Escape, Back or Left) returns to the list.
#pragma once

#include <windef.h>
#include <wingdi.h>

inline constexpr WCHAR kContactsWindowClass[] = u"ContactsWindow";
inline constexpr WCHAR kContactsTitle[] = u"Contacts";
inline constexpr WCHAR kContactsFile[] = u"\\My Documents\\Contacts.txt";

// Heights at 96 dpi (twice as many pixels at 192): a row of the list, and the back row at the
// top of the details.
inline constexpr int kContactRowHeight = 20;
inline constexpr int kContactBackRowHeight = 22;

// The colours of the selected row and of the band behind a contact's name in its details.
inline constexpr COLORREF kContactsSelectedColour = RGB(0, 60, 150);
inline constexpr COLORREF kContactsBandColour = RGB(226, 234, 248);

// Puts "contacts.exe" in the device's program table.
void registerContactsProgram();
