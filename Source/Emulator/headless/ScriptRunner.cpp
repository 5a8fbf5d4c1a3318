// The headless runner.
#include "headless/ScriptRunner.h"

#include <device/Clock.h>
#include <device/Display.h>
#include <device/EventLog.h>
#include <device/Input.h>
#include <device/Screen.h>
#include <wchar16.h>
#include <windows.h>

#include <vector>

#include "Emulator.h"
#include "frontend/HardwareKeys.h"
#include "headless/Reports.h"
#include "headless/TextEscapes.h"
#include "shell/Shell.h"

int ScriptRunner::run(std::istream& script) {
    std::string line;
    for (size_t number = 1;; ++number) {
        line.clear();
        // Read at most one byte past the longest line, so that a huge line is refused rather
        // than held.
        char c = 0;
        bool any = false;
        while (script.get(c) && c != '\n') {
            any = true;
            if (line.size() <= kMaxScriptLine)
                line.push_back(c);
        }
        if (!any && !script)
            return 0;
        auto parsed = parseScriptLine(line);
        if (auto* bad = std::get_if<ScriptError>(&parsed)) {
            m_errors << "line " << number << ": " << bad->message << "\n";
            return 2;
        }
        std::string problem;
        Outcome outcome = execute(std::get<Command>(parsed), problem);
        m_out.flush();
        if (outcome == Outcome::Mismatch) {
            m_errors << "line " << number << ": " << problem << "\n";
            return 1;
        }
        if (outcome == Outcome::Failed) {
            m_errors << "line " << number << ": " << problem << "\n";
            return 2;
        }
        if (!m_emulator.settle()) {
            m_errors << "line " << number << ": the device stayed busy for ten seconds\n";
            return 2;
        }
        if (!script)
            return 0;
    }
}

bool ScriptRunner::onScreen(int x, int y, std::string& problem) const {
    if (x < device::screenWidth() && y < device::screenHeight())
        return true;
    problem = "the point " + std::to_string(x) + " " + std::to_string(y) +
              " is outside the screen (" + std::to_string(device::screenWidth()) + "x" +
              std::to_string(device::screenHeight()) + ")";
    return false;
}

bool ScriptRunner::sendImData(const unsigned short* words, unsigned count, std::string& problem) {
    SIPINFO info{};
    info.cbSize = sizeof(info);
    if (!SipGetInfo(&info)) {
        problem = "the device has no input panel";
        return false;
    }
    std::vector<WORD> block(words, words + count);
    info.dwImDataSize = count * sizeof(WORD);
    info.pvImData = block.data();
    if (!SipSetInfo(&info)) {
        problem = "the input method refused the data block";
        return false;
    }
    return true;
}

ScriptRunner::Outcome ScriptRunner::execute(const Command& command, std::string& problem) {
    using Kind = Command::Kind;
    switch (command.kind) {
        case Kind::Nothing:
            return Outcome::Done;
        case Kind::Tap:
            if (!onScreen(command.a, command.b, problem))
                return Outcome::Failed;
            device::stylusDown(command.a, command.b);
            m_emulator.settle();
            device::stylusUp(command.a, command.b);
            return Outcome::Done;
        case Kind::Down:
        case Kind::Move:
        case Kind::Up:
            if (!onScreen(command.a, command.b, problem))
                return Outcome::Failed;
            if (command.kind == Kind::Down)
                device::stylusDown(command.a, command.b);
            else if (command.kind == Kind::Move)
                device::stylusMove(command.a, command.b);
            else
                device::stylusUp(command.a, command.b);
            return Outcome::Done;
        case Kind::Wait:
            device::advanceClock(static_cast<uint64_t>(command.a));
            return Outcome::Done;
        case Kind::Key: {
            // A key by name types what the key types on the device (its own character, with
            // the Shift and Caps Lock state); a character is typed as it is, with its key.
            if (command.vk != 0) {
                m_emulator.hardwareKey(command.vk, KeyTransition::Down, KeyCharacter::FromKey);
                m_emulator.settle();
                m_emulator.hardwareKey(command.vk, KeyTransition::Up, KeyCharacter::FromKey);
                return Outcome::Done;
            }
            const char16_t ch = command.text16[0];
            auto vk = virtualKeyOfCharacter(ch);
            if (vk)
                m_emulator.hardwareKey(*vk, KeyTransition::Down, KeyCharacter::AsText);
            m_emulator.hardwareText(command.text16);
            if (vk) {
                m_emulator.settle();
                m_emulator.hardwareKey(*vk, KeyTransition::Up, KeyCharacter::AsText);
            }
            return Outcome::Done;
        }
        case Kind::KeyDown:
        case Kind::KeyUp:
            m_emulator.hardwareKey(
                command.vk, command.kind == Kind::KeyDown ? KeyTransition::Down : KeyTransition::Up,
                KeyCharacter::FromKey);
            return Outcome::Done;
        case Kind::PressKey: {
            const unsigned short words[] = {2, static_cast<unsigned short>(command.a),
                                            static_cast<unsigned short>(command.b)};
            return sendImData(words, 3, problem) ? Outcome::Done : Outcome::Failed;
        }
        case Kind::Layout: {
            const unsigned short words[] = {1, 2, static_cast<unsigned short>(command.a)};
            return sendImData(words, 3, problem) ? Outcome::Done : Outcome::Failed;
        }
        case Kind::Rotate:
            m_emulator.rotate();
            return Outcome::Done;
        case Kind::Sip:
            if (!SipShowIM(command.a ? SIPF_ON : SIPF_OFF)) {
                problem = "the device has no input panel";
                return Outcome::Failed;
            }
            return Outcome::Done;
        case Kind::Run: {
            std::u16string line = platform::fromUtf8(command.text);
            std::vector<WCHAR> commandLine(line.begin(), line.end());
            commandLine.push_back(0);
            PROCESS_INFORMATION info{};
            if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                nullptr, nullptr, &info)) {
                problem = "cannot start " + command.text + ": no such program on the device";
                return Outcome::Failed;
            }
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
            return Outcome::Done;
        }
        case Kind::Shot:
            m_emulator.withShell([](Shell& shell) { shell.refreshBars(); });
            m_emulator.settle();
            if (!device::saveScreenPng(command.text)) {
                problem = "cannot write the screenshot " + command.text;
                return Outcome::Failed;
            }
            return Outcome::Done;
        case Kind::PrintText: {
            HWND focus = device::foregroundFocusWindow();
            m_out << (focus ? escapeText(windowText(focus)) : std::string()) << "\n";
            return Outcome::Done;
        }
        case Kind::ExpectText: {
            HWND focus = device::foregroundFocusWindow();
            std::u16string actual = focus ? windowText(focus) : std::u16string();
            if (actual == command.text16)
                return Outcome::Done;
            problem = "expected text: " + escapeText(command.text16) +
                      "\n  actual text: " + escapeText(actual);
            return Outcome::Mismatch;
        }
        case Kind::PrintSip: {
            RECT r{};
            bool visible = false;
            std::optional<int> layout;
            m_emulator.withShell([&](Shell& shell) {
                GetWindowRect(shell.inputPanel().sipWindow(), &r);
                visible = shell.inputPanel().shown();
                layout = shell.inputPanel().shownLayout();
            });
            m_out << sipLine(r, layout, visible) << "\n";
            return Outcome::Done;
        }
        case Kind::PrintFront:
            m_out << frontLine() << "\n";
            return Outcome::Done;
        case Kind::PrintWindows:
            m_out << windowsReport();
            return Outcome::Done;
        case Kind::PrintControls:
            m_out << controlsReport();
            return Outcome::Done;
        case Kind::TapControl: {
            HWND control = controlWithId(command.a);
            if (control == nullptr) {
                problem = "the foreground window has no control " + std::to_string(command.a);
                return Outcome::Failed;
            }
            RECT r{};
            GetWindowRect(control, &r);
            const int x = (r.left + r.right) / 2;
            const int y = (r.top + r.bottom) / 2;
            if (!onScreen(x, y, problem) || x < 0 || y < 0) {
                problem = "control " + std::to_string(command.a) + " is not on the screen";
                return Outcome::Failed;
            }
            device::stylusDown(x, y);
            m_emulator.settle();
            device::stylusUp(x, y);
            return Outcome::Done;
        }
        case Kind::PrintLog: {
            auto events = device::eventLog();
            if (m_eventsSeen > events.size())
                m_eventsSeen = 0;
            std::vector<device::Event> fresh(events.begin() + static_cast<long>(m_eventsSeen),
                                             events.end());
            m_eventsSeen = events.size();
            m_out << eventsReport(fresh);
            return Outcome::Done;
        }
    }
    return Outcome::Done;
}
