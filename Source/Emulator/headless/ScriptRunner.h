// The headless runner: carries out a script line by line on a running device, letting every
// process handle what it has queued after each command. Exit statuses: 0 when the script ran
// to its end, 1 when an expect-text found another text (both are printed), 2 when a line is
// bad or cannot be carried out (its number and the reason are printed).
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "headless/Script.h"

class Emulator;

class ScriptRunner {
public:
    ScriptRunner(Emulator& emulator, std::ostream& out, std::ostream& errors)
        : m_emulator(emulator), m_out(out), m_errors(errors) {}

    int run(std::istream& script);

private:
    enum class Outcome { Done, Mismatch, Failed };
    Outcome execute(const Command& command, std::string& problem);
    bool onScreen(int x, int y, std::string& problem) const;
    bool sendImData(const unsigned short* words, unsigned count, std::string& problem);

    Emulator& m_emulator;
    std::ostream& m_out;
    std::ostream& m_errors;
    size_t m_eventsSeen = 0;
};
