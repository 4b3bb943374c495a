// Checks that the machine the tests run on is what the other tests assume: a display, the
// Chinese UI faces, and GDI+.

#include <gtest/gtest.h>
#include <windows.h>
#include <gdiplus.h>

namespace {

int CALLBACK onFontFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool fontFaceExists(const wchar_t* face) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &query, onFontFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

TEST(Harness, ChineseUiFacesResolveToARealFont) {
    for (const wchar_t* face : {L"宋体", L"微软雅黑"}) {
        HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, face);
        ASSERT_NE(font, nullptr);
        HDC screen = GetDC(nullptr);
        HGDIOBJ old = SelectObject(screen, font);
        wchar_t actual[LF_FACESIZE] = {};
        GetTextFaceW(screen, LF_FACESIZE, actual);
        SelectObject(screen, old);
        ReleaseDC(nullptr, screen);
        DeleteObject(font);
        EXPECT_STRNE(actual, L"") << "face " << static_cast<const void*>(face);
    }
    EXPECT_TRUE(fontFaceExists(L"宋体") || fontFaceExists(L"WenQuanYi Zen Hei"));
}

TEST(Harness, GdiplusFindsTheReplacedFaces) {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
    for (const wchar_t* face : {L"宋体", L"微软雅黑"}) {
        Gdiplus::GpFontFamily* family = nullptr;
        EXPECT_EQ(Gdiplus::DllExports::GdipCreateFontFamilyFromName(face, nullptr, &family),
                  Gdiplus::Ok);
        if (family)
            Gdiplus::DllExports::GdipDeleteFontFamily(family);
    }
    Gdiplus::GdiplusShutdown(token);
}

TEST(Harness, TopLevelWindowsCanBeShown) {
    HWND window = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP | WS_VISIBLE, 10, 10, 50, 40,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 50);
    EXPECT_TRUE(IsWindowVisible(window));
    DestroyWindow(window);
}

} // namespace
