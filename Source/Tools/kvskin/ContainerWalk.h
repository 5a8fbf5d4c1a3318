// Walking a container file item by item with the library's header reader: each item is
// checked against its class before anyone is told of it, so a broken item is named by the path
// of names that leads to it, its offset and what is wrong, and nothing is read outside the file.
#pragma once

#include <windef.h>

#include <cstdio>
#include <optional>
#include <string>

#include "skin/EBFFormat.h"

// What is wrong with a container.
struct ContainerFault {
    std::string path;  // names from the main class down, joined by "/"
    DWORD offset = 0;
    std::string why;

    // "broken item PATH at offset N: WHY"
    std::string text() const;
};

// Told of each item in file order; the main class is at depth 0.
class ContainerVisitor {
public:
    virtual ~ContainerVisitor() = default;
    virtual void classItem(const EBFItemHeader& item, int depth) = 0;
    // False when the value's bytes could not be read.
    virtual bool valueItem(const EBFItemHeader& item, int depth) = 0;
};

// Checks the container of `length` bytes in `file`: exactly one class, whose children fill
// each class exactly, no class nested deeper than 49 levels, nothing after it. Visits the items
// up to the first fault (visitor may be null). Nothing when the container is well formed.
std::optional<ContainerFault> walkContainer(FILE* file, DWORD length, ContainerVisitor* visitor);

// An item name for the console: control characters (and the backslash) are shown as \xNN.
std::string printableName(const std::string& stored);
