// The kept globals of the libraries in a test program: copied once, by a test environment set
// up before the first case (after every static initializer, so a value a library sets as it
// loads is kept too), and put back before each case.
#include "KeptGlobals.h"

#include <gtest/gtest.h>

#include <vector>

namespace testsupport {

namespace {

struct KeptGlobal {
    std::function<void()> copy;
    std::function<void()> restore;
};

struct KeptGlobals {
    std::vector<KeptGlobal> globals;
    bool copied = false;
};

KeptGlobals& keptGlobals() {
    static auto* kept = new KeptGlobals;
    return *kept;
}

void copyOnce() {
    auto& kept = keptGlobals();
    if (kept.copied)
        return;
    kept.copied = true;
    for (auto& global : kept.globals)
        global.copy();
}

// Set up before the first case of every repetition; only the first copies.
class CopyBeforeTheFirstCase : public ::testing::Environment {
public:
    void SetUp() override { copyOnce(); }
};

}  // namespace

void keepGlobal(std::function<void()> copy, std::function<void()> restore) {
    auto& kept = keptGlobals();
    if (kept.globals.empty())
        ::testing::AddGlobalTestEnvironment(new CopyBeforeTheFirstCase);
    kept.globals.push_back({std::move(copy), std::move(restore)});
}

void restoreKeptGlobals() {
    copyOnce();
    for (auto& global : keptGlobals().globals)
        global.restore();
}

}  // namespace testsupport
