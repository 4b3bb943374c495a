#pragma once
// The library-wide table of skinned windows and the records of their elements.
//
// Windows are reached by their 1-based position in the table (the window index); the
// elements of a window by their 1-based position in its record's `elements` (the element
// index). Index 0 means "none" everywhere. Detaching a window removes its record and
// renumbers the windows after it, so code keeps indices, never pointers into the table,
// across anything that may attach or detach a window.

#include "skinui/drawing/frame_decorations.h"
#include "skinui/library/rect_f.h"
#include "skinui/skin_window/back_buffer.h"

#include <windows.h>

#include <vector>

namespace skinui {

class SkinWindow;
class SkinControl;

// The kinds of element; the value is the element record's `elementType`.
enum ElementType : int {
    ElementNone = 0,
    ElementCaptionButton = 1,
    ElementButton = 2,
    ElementLabel = 3,
    ElementPicture = 4,
};

// One element of a skinned window. Elements are not Win32 windows: the record says where
// the element is and how to reach the control object the application owns.
struct ElementRecord {
    HWND hwnd = nullptr;            // the skinned window the element was created in
    RectF bounds;                   // client coordinates; hit testing and repainting use it
    int id = 0;                     // unique within the window
    SkinControl* control = nullptr; // the element's control object (not owned)
    int elementType = ElementNone;
    bool visible = false;   // hidden elements are skipped by hit tests, repaints and messages
    bool focusable = false; // a left press takes keyboard focus and mouse capture
};

// One attached window. A new record is all zeros; attaching fills it.
struct WindowRecord {
    RECT windowRect{};           // screen rectangle as last read with GetWindowRect
    SkinWindow* owner = nullptr; // the application's SkinWindow (not owned)
    int fadeElements = 0;        // 1: elements fade into a new look on a timer
    int imageDrawMode = 0;       // 0: background picture at natural size; else stretched
    int opacity = 0;             // -1: ordinary window; 0..255: layered window
    HWND hwnd = nullptr;
    // The surfaces, declared so that they are released layer, window buffer, frame, then
    // the window's DC.
    WindowDc windowDC;        // GetDC of the window, taken at attach and kept
    BackBuffer frame;         // SM_CXMAXTRACK x SM_CYMAXTRACK: background plus elements
    BackBuffer windowBuffer;  // window size: the background without elements
    BackBuffer layer;         // layered windows only: what UpdateLayeredWindow shows
    FrameDecorations decorations; // the border and shadow, ready to stamp onto the frame
    std::vector<ElementRecord> elements; // creation order; later elements lie above

    WindowRecord() = default;
    WindowRecord(const WindowRecord&) = delete;
    WindowRecord& operator=(const WindowRecord&) = delete;
    WindowRecord(WindowRecord&&) = default;
    WindowRecord& operator=(WindowRecord&&) = default;
};

using WindowTable = std::vector<WindowRecord>;

// The process's window table (Library::windowTable).
WindowTable& windowTable();

// True when 1 <= windowIndex <= table size and, when checkElement, 1 <= elementIndex <= the
// size of that window's elements.
bool isValidIndex(int windowIndex, int elementIndex, bool checkElement);

// 1-based index of the first record whose hwnd matches; 0 when none.
int findWindowIndex(HWND hwnd);

// 1-based index of the first element of the window with this id; 0 when none or when the
// window index is invalid.
int findElementIndex(int windowIndex, int elementId);

// Typed access by index; null for invalid indices.
WindowRecord* windowRecord(int windowIndex);
ElementRecord* elementRecord(int windowIndex, int elementIndex);
SkinWindow* windowObject(int windowIndex);
SkinControl* elementObject(int windowIndex, int elementIndex);

} // namespace skinui
