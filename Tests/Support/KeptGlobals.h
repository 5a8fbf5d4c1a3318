// Globals of the libraries linked into a test program (a library's settings, tables and
// counters): every case starts with them as they were before the first case ran, as a freshly
// loaded library has them. A library's test support names its globals once, from a
// namespace-scope initializer, and links into every test program that links the library:
//     const bool kept = testsupport::keepAsLoaded(g_repeatDelay, helpFilePath);
//     const bool keptEmpty = testsupport::keepEmpty(MacroTable);
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

namespace testsupport {

// Registers a global through the two halves of its keeping: `copy` takes its value before the
// first case, `restore` puts that value back before each case.
void keepGlobal(std::function<void()> copy, std::function<void()> restore);

template <typename... Globals>
bool keepAsLoaded(Globals&... globals) {
    (
        [&globals] {
            auto loaded = std::make_shared<std::optional<std::remove_reference_t<Globals>>>();
            keepGlobal([&globals, loaded] { *loaded = globals; },
                       [&globals, loaded] {
                           if (*loaded)
                               globals = **loaded;
                       });
        }(),
        ...);
    return true;
}

// For a global that owns what it holds and cannot be copied (a table of macros), which the
// library defines empty: puts it back empty (value-initialised) before each case.
template <typename Global>
bool keepEmpty(Global& global) {
    keepGlobal([] {}, [&global] { global = Global{}; });
    return true;
}

// Puts every kept global back as it was before the first case (done before every case).
void restoreKeptGlobals();

}  // namespace testsupport
