// Library start-up, fonts, the window class, the caption-button sheet and the shared helpers.

#include "skinui/library/fonts.h"
#include "skinui/library/helpers.h"
#include "skinui/library/library.h"
#include "skinui/library/window_table.h"

#include "resource_ids.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using skinui::Library;
namespace gdip = Gdiplus::DllExports;

bool gdiplusHasFace(const wchar_t* face) {
    Gdiplus::GpFontFamily* family = nullptr;
    const bool found = gdip::GdipCreateFontFamilyFromName(face, nullptr, &family) == Gdiplus::Ok;
    if (family)
        gdip::GdipDeleteFontFamily(family);
    return found;
}

// The family name GDI+ reports for a face: the face itself on Windows, the font it is
// mapped to where a replacement stands in for it (Wine's test prefix maps 宋体).
std::string reportedFamilyName(const char* face) {
    skinui::UniqueGpFont font = skinui::createFontOrFallback(face, 12.0f, 0, nullptr);
    return skinui::fontFamilyName(font.get());
}

float sizeOf(Gdiplus::GpFont* font) {
    float size = 0;
    gdip::GdipGetFontSize(font, &size);
    return size;
}

std::wstring systemFace(const LOGFONTW NONCLIENTMETRICSW::*which) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return (metrics.*which).lfFaceName;
}

TEST(LibraryStartUp, FillsTheProcessWideState) {
    const Library& library = Library::instance();
    EXPECT_TRUE(library.started());
    EXPECT_NE(library.gdiplusToken, 0u);
    EXPECT_EQ(library.defaultTimerPeriod, 80);
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExW(&version);
    EXPECT_GE(library.osMajorVersion, static_cast<int>(version.dwMajorVersion));
    EXPECT_GT(library.osMajorVersion, 4);
    EXPECT_TRUE(library.windowTable.empty());
}

TEST(LibraryStartUp, DefaultFontIsSongTi12Pixels) {
    ASSERT_TRUE(gdiplusHasFace(L"宋体")) << "the test machine maps 宋体 to a real font";
    Gdiplus::GpFont* font = Library::instance().defaultFont.get();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(skinui::fontFamilyName(font), reportedFamilyName("宋体"));
    EXPECT_FALSE(skinui::fontFamilyName(font).empty());
    EXPECT_FLOAT_EQ(sizeOf(font), 12.0f);
    Gdiplus::Unit unit = Gdiplus::UnitWorld;
    gdip::GdipGetFontUnit(font, &unit);
    EXPECT_EQ(unit, Gdiplus::UnitPixel);
}

TEST(LibraryStartUp, CaptionButtonSheetDecodesFromTheResources) {
    const skinui::SkinImage& sheet = Library::instance().captionButtonImage;
    EXPECT_EQ(sheet.width(), 729);
    EXPECT_EQ(sheet.height(), 20);
    Gdiplus::PixelFormat format = 0;
    gdip::GdipGetImagePixelFormat(sheet.handle(), &format);
    EXPECT_TRUE(format & PixelFormatAlpha);
    EXPECT_TRUE(sheet.holdsSourceMemory());
    EXPECT_TRUE(skinui::moduleResource(99999).empty());
}

TEST(LibraryStartUp, RegistersTheSkinWindowClass) {
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetClassInfoExW(skinui::skinModule(), L"Ex_DirectUI", &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_NE(info.hIcon, nullptr);
    EXPECT_NE(info.hCursor, nullptr);
    EXPECT_EQ(info.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EXPECT_EQ(info.cbClsExtra, 0);
    EXPECT_EQ(info.cbWndExtra, 0);

    // A window of the class answers through DefWindowProc and shows the class icon.
    HWND window = CreateWindowExW(0, L"Ex_DirectUI", L"probe", WS_POPUP, 0, 0, 40, 30, nullptr,
                                  nullptr, skinui::skinModule(), nullptr);
    ASSERT_NE(window, nullptr);
    wchar_t title[16] = {};
    GetWindowTextW(window, title, 16);
    EXPECT_STREQ(title, L"probe");
    EXPECT_EQ(skinui::windowIconOf(window), info.hIcon);
    DestroyWindow(window);
}

TEST(LibraryStartUp, ClassOptionsGivenAsZeroAreUsedAsIs) {
    HICON icon = LoadIconW(nullptr, IDI_WARNING);
    ASSERT_TRUE(skinui::registerSkinWindowClass(skinui::defaultWindowProc, "YuntiProbeClass", icon,
                                                0u, nullptr));
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetClassInfoExW(skinui::skinModule(), L"YuntiProbeClass", &info));
    EXPECT_EQ(info.style, 0u);
    EXPECT_EQ(info.hIcon, icon);
    EXPECT_EQ(info.hCursor, nullptr);
    EXPECT_FALSE(skinui::registerSkinWindowClass(skinui::defaultWindowProc, "YuntiProbeClass"))
        << "a second registration of a name fails";
    UnregisterClassW(L"YuntiProbeClass", skinui::skinModule());
}

TEST(WindowIcon, SmallThenBigThenClassIcon) {
    HWND window = CreateWindowExW(0, L"Ex_DirectUI", L"", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr,
                                  skinui::skinModule(), nullptr);
    ASSERT_NE(window, nullptr);
    HICON big = LoadIconW(nullptr, IDI_ERROR);
    HICON small = LoadIconW(nullptr, IDI_INFORMATION);
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    EXPECT_EQ(skinui::windowIconOf(window), big);
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    EXPECT_EQ(skinui::windowIconOf(window), small);
    DestroyWindow(window);

    HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    EXPECT_EQ(skinui::windowIconOf(plain), nullptr);
    DestroyWindow(plain);
}

TEST(Fonts, CaptionFaceTahomaBecomesSongTi) {
    const std::wstring caption = systemFace(&NONCLIENTMETRICSW::lfCaptionFont);
    const std::string face = skinui::systemCaptionFontFace();
    if (caption == L"Tahoma") {
        EXPECT_EQ(face, "宋体");
    } else {
        EXPECT_FALSE(face.empty());
    }
    const std::wstring menu = systemFace(&NONCLIENTMETRICSW::lfMenuFont);
    if (menu == L"Tahoma") {
        EXPECT_EQ(skinui::systemCaptionFontFace(skinui::NonClientFont::Menu), "宋体");
    }
    EXPECT_FALSE(skinui::systemCaptionFontFace(skinui::NonClientFont::Message).empty());
}

TEST(Fonts, UnknownFaceFallsBackToTheDefaultFamily) {
    Gdiplus::GpFont* defaultFont = Library::instance().defaultFont.get();
    ASSERT_NE(defaultFont, nullptr);
    skinui::UniqueGpFont font =
        skinui::createFontOrFallback("No Such Face Anywhere", 20.0f, Gdiplus::FontStyleBold);
    ASSERT_TRUE(font);
    EXPECT_EQ(skinui::fontFamilyName(font.get()), skinui::fontFamilyName(defaultFont));
    EXPECT_FLOAT_EQ(sizeOf(font.get()), 20.0f);
    INT style = 0;
    gdip::GdipGetFontStyle(font.get(), &style);
    EXPECT_EQ(style, Gdiplus::FontStyleBold);

    EXPECT_FALSE(skinui::createFontOrFallback("No Such Face Anywhere", 20.0f, 0, nullptr))
        << "no face and no default font: no font";
    skinui::UniqueGpFont known = skinui::createFontOrFallback("宋体", 9.0f, 0, nullptr);
    ASSERT_TRUE(known) << "an existing face needs no fallback";
    EXPECT_FLOAT_EQ(sizeOf(known.get()), 9.0f);
    EXPECT_EQ(skinui::fontFamilyName(nullptr), "");

    skinui::UniqueGpFont fresh = skinui::createDefaultFont();
    ASSERT_TRUE(fresh);
    EXPECT_FLOAT_EQ(sizeOf(fresh.get()), 12.0f);
}

TEST(MeasureString, MeasuresWithAFontAndRefusesWithoutOne) {
    HDC screen = GetDC(nullptr);
    Gdiplus::GpGraphics* graphics = nullptr;
    gdip::GdipCreateFromHDC(screen, &graphics);
    skinui::UniqueGpGraphics owner(graphics);
    Gdiplus::GpFont* font = Library::instance().defaultFont.get();

    const auto unlimited =
        skinui::measureString(graphics, "确认 cancel", font, nullptr, skinui::RectF{});
    ASSERT_TRUE(unlimited);
    EXPECT_GT(unlimited->width, 30.0f);
    EXPECT_GT(unlimited->height, 10.0f);
    EXPECT_LT(unlimited->height, 20.0f) << "a zero layout does not wrap";

    const auto narrow = skinui::measureString(graphics, "确认 cancel", font, nullptr,
                                              skinui::makeRectF(0, 0, 30, 0));
    ASSERT_TRUE(narrow);
    EXPECT_GT(narrow->height, unlimited->height) << "a narrow layout wraps";

    EXPECT_FALSE(skinui::measureString(graphics, "x", nullptr, nullptr, skinui::RectF{}));
    EXPECT_FALSE(skinui::measureString(nullptr, "x", font, nullptr, skinui::RectF{}));
    owner.reset();
    ReleaseDC(nullptr, screen);
}

// Puts two windows of two and three elements into the table for the lookups below.
class WindowTableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto& table = skinui::windowTable();
        for (int window = 0; window < 2; ++window) {
            skinui::WindowRecord record;
            record.hwnd = hwnds[window];
            for (int id : ids[window]) {
                if (id == 0)
                    continue;
                skinui::ElementRecord element;
                element.id = id;
                element.control = reinterpret_cast<skinui::SkinControl*>(&controls[id]);
                record.elements.push_back(element);
            }
            table.push_back(std::move(record));
        }
    }
    void TearDown() override { skinui::windowTable().clear(); }

    HWND hwnds[2] = {reinterpret_cast<HWND>(0x1010), reinterpret_cast<HWND>(0x2020)};
    int ids[2][3] = {{7, 9, 0}, {3, 7, 7}};
    char controls[10] = {};
};

TEST_F(WindowTableTest, IndicesAreOneBasedAndChecked) {
    struct Case {
        int window, element;
        bool checkElement, valid;
    };
    const Case cases[] = {
        {0, 0, false, false},  {1, 0, false, true}, {2, 99, false, true}, {3, 1, false, false},
        {-1, 1, false, false}, {1, 0, true, false}, {1, 1, true, true},   {1, 2, true, true},
        {1, 3, true, false},   {2, 3, true, true},  {3, 1, true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(skinui::isValidIndex(c.window, c.element, c.checkElement), c.valid)
            << c.window << "/" << c.element << "/" << c.checkElement;
}

TEST_F(WindowTableTest, LookupsScanFromTheFirst) {
    EXPECT_EQ(skinui::findWindowIndex(hwnds[0]), 1);
    EXPECT_EQ(skinui::findWindowIndex(hwnds[1]), 2);
    EXPECT_EQ(skinui::findWindowIndex(nullptr), 0);
    EXPECT_EQ(skinui::findElementIndex(1, 9), 2);
    EXPECT_EQ(skinui::findElementIndex(2, 7), 2) << "the first of two equal ids";
    EXPECT_EQ(skinui::findElementIndex(2, 9), 0);
    EXPECT_EQ(skinui::findElementIndex(5, 7), 0);
    EXPECT_EQ(skinui::elementObject(1, 2), reinterpret_cast<skinui::SkinControl*>(&controls[9]));
    EXPECT_EQ(skinui::elementObject(1, 3), nullptr);
    EXPECT_EQ(skinui::windowObject(0), nullptr);
    EXPECT_EQ(skinui::windowRecord(2)->hwnd, hwnds[1]);
    EXPECT_EQ(skinui::elementRecord(2, 1)->id, 3);
}

// Runs last: it releases the library-wide objects as the exit routine does.
TEST(LibraryExit, ReleasesTheLibraryWideObjects) {
    Library& library = Library::instance();
    library.windowTable.emplace_back();
    library.releaseAtExit();
    EXPECT_TRUE(library.windowTable.empty());
    EXPECT_EQ(library.captionButtonImage.handle(), nullptr);
    EXPECT_FALSE(library.captionButtonImage.holdsSourceMemory());
    EXPECT_EQ(library.messageBox.ownerImage.handle(), nullptr);
    library.releaseAtExit(); // harmless twice
    library.startUp();       // start-up runs once only
    EXPECT_EQ(library.captionButtonImage.handle(), nullptr);
}

} // namespace
