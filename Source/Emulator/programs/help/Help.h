// The help viewer ("peghelp.exe"): opens its command line "file:PATH#TOPIC" and shows that topic
// of the HTML help file as a page of headings, paragraphs and lists, scrolled with the stylus
// and the keys. Links within the help lead to other topics; "Back" (or Escape) returns and
// "Contents" shows the file's "Main_Contents" topic. A missing file or topic is said on the page.
// Started again while it runs, it shows the new topic in the running viewer.
#pragma once

#include <windef.h>

inline constexpr WCHAR kHelpWindowClass[] = u"HelpWindow";
inline constexpr WCHAR kHelpViewClass[] = u"HelpView";
inline constexpr WCHAR kHelpTitle[] = u"Help";
// The topic "Contents" opens.
inline constexpr WCHAR kHelpContentsTopic[] = u"Main_Contents";

// The height of the row with "Back" and "Contents" above the page, at 96 dpi.
inline constexpr int kHelpToolbarHeight = 22;

// Puts "peghelp.exe" in the device's program table.
void registerHelpProgram();
