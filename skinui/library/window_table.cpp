#include "skinui/library/window_table.h"

#include "skinui/library/library.h"

#include <cstddef>

namespace skinui {

WindowTable& windowTable() {
    return Library::instance().windowTable;
}

bool isValidIndex(int windowIndex, int elementIndex, bool checkElement) {
    const WindowTable& table = windowTable();
    if (windowIndex < 1 || static_cast<size_t>(windowIndex) > table.size())
        return false;
    if (!checkElement)
        return true;
    const auto& elements = table[static_cast<size_t>(windowIndex) - 1].elements;
    return elementIndex >= 1 && static_cast<size_t>(elementIndex) <= elements.size();
}

int findWindowIndex(HWND hwnd) {
    const WindowTable& table = windowTable();
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].hwnd == hwnd)
            return static_cast<int>(i + 1);
    }
    return 0;
}

int findElementIndex(int windowIndex, int elementId) {
    const WindowRecord* record = windowRecord(windowIndex);
    if (!record)
        return 0;
    for (size_t i = 0; i < record->elements.size(); ++i) {
        if (record->elements[i].id == elementId)
            return static_cast<int>(i + 1);
    }
    return 0;
}

WindowRecord* windowRecord(int windowIndex) {
    if (!isValidIndex(windowIndex, 0, false))
        return nullptr;
    return &windowTable()[static_cast<size_t>(windowIndex) - 1];
}

ElementRecord* elementRecord(int windowIndex, int elementIndex) {
    if (!isValidIndex(windowIndex, elementIndex, true))
        return nullptr;
    return &windowTable()[static_cast<size_t>(windowIndex) - 1]
                .elements[static_cast<size_t>(elementIndex) - 1];
}

SkinWindow* windowObject(int windowIndex) {
    WindowRecord* record = windowRecord(windowIndex);
    return record ? record->owner : nullptr;
}

SkinControl* elementObject(int windowIndex, int elementIndex) {
    ElementRecord* record = elementRecord(windowIndex, elementIndex);
    return record ? record->control : nullptr;
}

} // namespace skinui
