// The Win32 back end's drawing and decoding: what GDI and the imaging
// component make of our pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/Exceptions.h"
#include "formats/IcoDecoder.h"
#include "formats/MetafileReader.h"
#include "platform/metafile/MetafileScreen.h"
#include "platform/win32/ComPtr.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WicDecoder.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Platform.h"
#include "support/CompressedImageRows.h"

#include <oleacc.h>

namespace automenu::platform {
namespace {

std::vector<std::uint8_t> Picture(const std::string& name) {
    std::ifstream in(std::string(AUTOMENU_TEST_DATA) + "/pictures/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Alpha(std::uint32_t pixel) { return pixel >> 24; }

// Windows matches names regardless of case itself: they are taken as written.
TEST(Win32FileSystem, NamesAreTakenAsWritten) {
    Win32FileSystem files;
    EXPECT_EQ(files.Style(), PathStyle::Windows);
    EXPECT_EQ(files.MediaPath("D:\\IMAGES\\back.bmp"), "D:\\IMAGES\\back.bmp");
    EXPECT_EQ(files.EntryName("D:\\", "AUTORUN.INF"), "AUTORUN.INF");
    const std::string program = files.ProgramPath();
    EXPECT_TRUE(program.ends_with("\\automenu_windows_tests.exe")) << program;
}

TEST(Win32BackEnd, PngIconImagesDecodeLikeTheReferencePng) {
    const auto icon = Picture("pil_png.ico");
    ASSERT_FALSE(icon.empty());
    const BuiltIcon built = BuildIcon(icon, {32, 32}, 0, {1280, 1024}, &DecodePngWithWic);
    ASSERT_EQ(built.image.width, 32);
    ASSERT_EQ(built.image.height, 32);
    PixelImage reference;
    ASSERT_TRUE(DecodePngWithWic(Picture("pil_png_32.png"), reference));
    EXPECT_EQ(built.image.pixels, reference.pixels);
}

TEST(Win32BackEnd, DamagedPngIsRefused) {
    auto png = Picture("pil_png_32.png");
    png.resize(png.size() / 2);
    PixelImage out;
    EXPECT_FALSE(DecodePngWithWic(png, out));
}

// The largest difference of any channel between two images of one size.
int LargestDifference(const PixelImage& a, const PixelImage& b) {
    int worst = 0;
    for (std::size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i)
        for (int shift : {0, 8, 16, 24})
            worst = std::max(worst, std::abs(static_cast<int>((a.pixels[i] >> shift) & 0xFF) -
                                             static_cast<int>((b.pixels[i] >> shift) & 0xFF)));
    return worst;
}

TEST(Win32BackEnd, PngAndJpegPicturesDecodeLikeTheLinuxReferences) {
    using test::kCompressedTestScreen;
    for (const test::DecodedRow& row : test::kDecodedRows) {
        SCOPED_TRACE(row.file);
        const auto file = Picture(row.file);
        const std::string name = row.file;
        const auto format = name.ends_with(".png") ? CompressedImageFormat::Png : CompressedImageFormat::Jpeg;
        EXPECT_EQ(ReadCompressedImageSize(format, file), row.natural);
        PixelImage decoded;
        ASSERT_TRUE(DecodePictureWithWic(format, file, kCompressedTestScreen, decoded));
        EXPECT_EQ(decoded.has_alpha, row.alpha);
        PixelImage reference;
        ASSERT_TRUE(DecodePngWithWic(Picture(row.reference), reference));
        reference = test::TopLeft(reference, kCompressedTestScreen);
        ASSERT_EQ(decoded.width, reference.width);
        ASSERT_EQ(decoded.height, reference.height);
        EXPECT_LE(LargestDifference(decoded, reference), row.tolerance);
    }
}

TEST(Win32BackEnd, DamagedOrOversizedPicturesAreRefused) {
    for (const test::RefusedRow& row : test::kRefusedRows) {
        SCOPED_TRACE(row.file);
        const auto file = Picture(row.file);
        bool refused = false;
        try {
            ReadCompressedImageSize(row.format, file);
            PixelImage decoded;
            refused = !DecodePictureWithWic(row.format, file, test::kCompressedTestScreen, decoded);
        } catch (const EInvalidGraphic&) {
            refused = true;
        }
        EXPECT_TRUE(refused);
    }
}

class Surface : public ::testing::Test {
protected:
    WindowDc screen{nullptr};
    DibSurface surface{screen.Get(), 64, 64};
    GdiCanvas canvas{surface.Dc(), nullptr};
};

TEST_F(Surface, ImagesWithAlphaBlendOverWhatLiesBeneath) {
    ASSERT_TRUE(surface.Valid());
    canvas.FillRect({0, 0, 64, 64}, {255, 255, 255});
    // Half-transparent black, premultiplied: over white it gives mid grey.
    PixelImage half{2, 2, std::vector<std::uint32_t>(4, 0x80000000u), true};
    canvas.DrawImage(half, 10, 10);
    ::GdiFlush();
    const std::uint32_t pixel = surface.Pixels()[10 * 64 + 10] & 0xFFFFFF;
    EXPECT_NEAR(static_cast<int>(pixel & 0xFF), 127, 2);
    EXPECT_EQ(surface.Pixels()[0] & 0xFFFFFF, 0xFFFFFFu) << "outside the image nothing changes";
}

TEST_F(Surface, MetafilesRenderWithTransparencyWhereNothingIsDrawn) {
    for (const char* name : {"shapes.emf", "shapes.wmf"}) {
        const LoadedMetafile loaded = ReadMetafile(Picture(name));
        const TSize size = MetafileNaturalSize(loaded, 96);
        const PixelImage image =
            canvas.RenderMetafile(loaded.bits, {0, 0, size.cx - 1, size.cy - 1}, size, {1280, 1024});
        ASSERT_EQ(image.width, size.cx) << name;
        std::size_t clear = 0, opaque = 0;
        for (std::uint32_t p : image.pixels) {
            clear += Alpha(p) == 0;
            opaque += Alpha(p) == 255;
        }
        EXPECT_GT(clear, 0u) << name << ": the background shows through";
        EXPECT_GT(opaque, image.pixels.size() / 10) << name << ": the shapes are drawn";
    }
}

// What GDI draws of a metafile on white, at 632 x 453.
std::vector<std::uint32_t> GdiPicture(const MetafileBits& bits) {
    WindowDc screen(nullptr);
    DibSurface target(screen.Get(), 632, 453);
    std::fill_n(target.Pixels(), 632 * 453, 0x00FFFFFFu);
    const EnhMetafileHandle emf = EnhancedMetafileOf(bits);
    const RECT rc{0, 0, 631, 452};
    if (emf) ::PlayEnhMetaFile(target.Dc(), emf.get(), &rc);
    ::GdiFlush();
    return {target.Pixels(), target.Pixels() + 632 * 453};
}

// Pictures that use nothing the screening leaves out look to GDI as before.
TEST(Win32BackEnd, ScreenedMetafilesDrawAsTheirOriginals) {
    for (const char* name :
         {"office.emf", "office.wmf", "shapes.emf", "shapes.wmf", "gradients.emf", "text_dx.emf", "text_pdy.emf",
          "pens_styles.emf", "palette_index.emf", "rop2.emf", "rop_blits.emf"}) {
        SCOPED_TRACE(name);
        const MetafileBits original = ReadMetafile(Picture(name)).bits;
        const MetafileBits screened = ScreenMetafile(original, {0, 0, 631, 452}, {632, 453}, {1280, 1024});
        const auto before = GdiPicture(original);
        const auto after = GdiPicture(screened);
        std::size_t differing = 0;
        for (std::size_t i = 0; i < before.size(); ++i) differing += (before[i] & 0xFFFFFF) != (after[i] & 0xFFFFFF);
        EXPECT_EQ(differing, 0u);
        EXPECT_NE(before, std::vector<std::uint32_t>(before.size(), before[0])) << "something is drawn";
    }
}

TEST_F(Surface, TextIsMeasuredByTheSystem) {
    FontDescription d;
    d.height = -16;
    d.name = "Arial";
    Win32Font font(d);
    const TRect one = canvas.DrawText(font, {0, 0, 0}, "Install", {0, 0, 1000, 0}, DT_CALCRECT | DT_NOPREFIX);
    const TRect two = canvas.DrawText(font, {0, 0, 0}, "Install\nInstall", {0, 0, 1000, 0}, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_GT(one.Width(), 20);
    EXPECT_EQ(two.Height(), 2 * one.Height());
}

// Height 0 asks the GDI for its default height: a 16-pixel cell, the same
// font as height 16, in every face (the Linux program draws it so too).
TEST_F(Surface, HeightZeroIsTheFontOfASixteenPixelCell) {
    auto measure = [&](const char* name, int height) {
        FontDescription d;
        d.height = height;
        d.name = name;
        Win32Font font(d);
        return canvas.DrawText(font, {0, 0, 0}, "Installation", {0, 0, 0, 0}, DT_CALCRECT | DT_NOPREFIX);
    };
    for (const char* name : {"Arial", "Times New Roman", "Courier New"}) {
        const TRect zero = measure(name, 0);
        EXPECT_EQ(zero.Height(), 16) << name;
        EXPECT_EQ(zero.Width(), measure(name, 16).Width()) << name;
        EXPECT_GT(zero.Width(), measure(name, -11).Width()) << name;
    }
}

// Waits for a message of the given kind, for at most about `ms` milliseconds.
bool TimerArrives(Win32Platform& platform, int id, unsigned ms) {
    const ULONGLONG end = ::GetTickCount64() + ms;
    while (::GetTickCount64() < end) {
        Message m;
        while (platform.PeekMessage(m))
            if (m.kind == MessageKind::Timer && m.timer_id == id) return true;
        ::MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    return false;
}

// The back end opened, with one dialog window.
class Desktop : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(platform.Open(error)) << error;
        w = platform.CreateWindow({WindowKind::Dialog, "Test", {634, 454}});
        ASSERT_NE(w, kNoWindow);
    }
    Win32Platform platform;
    WindowId w = kNoWindow;
};

TEST_F(Desktop, TimersRepeatUntilKilledAndEndWithTheirWindow) {
    platform.SetTimer(w, 7, 20);
    EXPECT_TRUE(TimerArrives(platform, 7, 2000));
    EXPECT_TRUE(TimerArrives(platform, 7, 2000)) << "a timer repeats";
    platform.KillTimer(w, 7);
    TimerArrives(platform, 7, 50);  // one may already be waiting in the queue
    EXPECT_FALSE(TimerArrives(platform, 7, 200));
    platform.SetTimer(w, 8, 20);
    platform.DestroyWindow(w);
    EXPECT_FALSE(TimerArrives(platform, 8, 200));
}

TEST_F(Desktop, PlacementBeforeTheLoopIsAnsweredAtOnceAndAppliedInOneStep) {
    const FrameExtents f = platform.Frame(w);
    platform.ShowWindow(w, true);
    platform.MoveWindow(w, {100, 80});
    platform.SetClientSize(w, {400, 300});
    platform.SetClientSize(w, {410, 310});
    const TPoint origin{100 + f.left, 80 + f.top};
    const auto check = [&](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(platform.WindowPosition(w), (TPoint{100, 80}));
        EXPECT_EQ(platform.ClientToScreen(w, {5, 6}), (TPoint{origin.x + 5, origin.y + 6}));
        const FrameExtents g = platform.Frame(w);
        EXPECT_EQ(std::tie(g.left, g.top, g.right, g.bottom), std::tie(f.left, f.top, f.right, f.bottom));
    };
    check("before the loop");
    Message m;
    while (platform.PeekMessage(m)) {
        TRect area;
        if (m.kind == MessageKind::Paint) platform.BeginPaint(w, area);
    }
    check("after the loop ran");
    RECT client{};
    ASSERT_TRUE(::GetClientRect(::WindowFromPoint({origin.x + 1, origin.y + 1}), &client));
    EXPECT_EQ(client.right, 410);
    EXPECT_EQ(client.bottom, 310);
    EXPECT_EQ(platform.WindowAtPoint({origin.x + 1, origin.y + 1}), w);
}

// Drains the back end's queue; the kinds of the messages taken.
std::vector<MessageKind> Drain(Win32Platform& platform) {
    std::vector<MessageKind> kinds;
    Message m;
    while (platform.PeekMessage(m)) {
        kinds.push_back(m.kind);
        TRect area;
        if (m.kind == MessageKind::Paint) platform.BeginPaint(m.window, area);
    }
    return kinds;
}

bool Has(const std::vector<MessageKind>& kinds, MessageKind kind) {
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

// The dialog frame shows no icon: the window holds the big one only, for
// the task switcher.
TEST_F(Desktop, TheCaptionShowsNoIconTheWindowKeepsTheBigOne) {
    PixelImage icon{32, 32, std::vector<std::uint32_t>(32 * 32, 0xFF2080C0u), true};
    platform.SetIcon(w, icon);
    HWND hwnd = ::FindWindowW(L"TInstallationForm", L"Test");
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(::SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0), 0);
    EXPECT_NE(::SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0);
}

// A hint's one-pixel edge is its own painting: the window adds no border.
TEST_F(Desktop, HintWindowsHaveNoFrameOfTheirOwn) {
    const WindowId hint = platform.CreateWindow({WindowKind::Tooltip, "", {120, 19}});
    ASSERT_NE(hint, kNoWindow);
    const FrameExtents f = platform.Frame(hint);
    EXPECT_EQ(std::tie(f.left, f.top, f.right, f.bottom), std::make_tuple(0, 0, 0, 0));
}

TEST_F(Desktop, HintsTakeTheStatusBarFontAndTheWholeDesktop) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const std::optional<FontDescription> status = platform.StatusFont();
    ASSERT_TRUE(status);
    EXPECT_EQ(status->height, metrics.lfStatusFont.lfHeight);
    EXPECT_EQ(Wide(status->name), std::wstring(metrics.lfStatusFont.lfFaceName));
    EXPECT_EQ(platform.VirtualDesktop(),
              TRect::FromBounds(::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                                ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN)));
}

// The capture the framework gives back or moves itself is no loss; the
// system cancelling the mode or another window taking it is.
TEST_F(Desktop, OnlyTheSystemTakingTheCaptureAwayIsALoss) {
    platform.ShowWindow(w, true);
    Drain(platform);
    HWND hwnd = ::FindWindowW(L"TInstallationForm", L"Test");
    const WindowId other = platform.CreateWindow({WindowKind::Dialog, "Other", {100, 100}});
    HWND other_hwnd = ::FindWindowW(L"TInstallationForm", L"Other");
    ASSERT_NE(other_hwnd, nullptr);
    const struct {
        const char* what;
        std::function<void()> take;
        bool lost;
    } cases[] = {
        {"released by the framework", [&] { platform.ReleaseCapture(); }, false},
        {"moved by the framework", [&] { platform.SetCapture(other); }, false},
        {"a cancelled mode", [&] { ::SendMessageW(hwnd, WM_CANCELMODE, 0, 0); }, true},
        {"taken by another window", [&] { ::SetCapture(other_hwnd); }, true},
    };
    for (const auto& c : cases) {
        platform.SetCapture(w);
        Drain(platform);
        c.take();
        EXPECT_EQ(Has(Drain(platform), MessageKind::CaptureLost), c.lost) << c.what;
        EXPECT_NE(::GetCapture(), hwnd) << c.what;
        platform.ReleaseCapture();
    }
}

// What a message box's or a caption drag's loop does with the messages.
void RunForeignLoop() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

HWND g_invalidate_in_loop = nullptr;

void CALLBACK InvalidateAndLoop(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_invalidate_in_loop) return;
    ::InvalidateRect(std::exchange(g_invalidate_in_loop, nullptr), nullptr, FALSE);
    RunForeignLoop();
}

// In a loop of the system's own (a message box, a caption being dragged)
// paint requests are painted when they arrive; in the framework's loop they
// wait for it.
TEST_F(Desktop, PaintRequestsArePaintedAtOnceOnlyInTheSystemsOwnLoops) {
    platform.ShowWindow(w, true);
    Drain(platform);
    std::vector<WindowId> painted;
    platform.SetPaintHandler([&](WindowId id) {
        painted.push_back(id);
        TRect area;
        platform.BeginPaint(id, area);
    });
    HWND hwnd = ::FindWindowW(L"TInstallationForm", L"Test");
    ::InvalidateRect(hwnd, nullptr, FALSE);
    const std::vector<MessageKind> framework = Drain(platform);
    EXPECT_TRUE(painted.empty());
    EXPECT_TRUE(Has(framework, MessageKind::Paint));

    ::InvalidateRect(hwnd, nullptr, FALSE);
    RunForeignLoop();  // as a message box does
    EXPECT_EQ(painted, std::vector<WindowId>{w});

    // A loop inside a message the framework's loop handed on, as the
    // dragging of a caption runs inside the press on it.
    painted.clear();
    g_invalidate_in_loop = hwnd;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 1, &InvalidateAndLoop);
    const ULONGLONG end = ::GetTickCount64() + 2000;
    while (g_invalidate_in_loop && ::GetTickCount64() < end) Drain(platform);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(painted, std::vector<WindowId>{w});
    platform.SetPaintHandler(nullptr);
}

// A window's accessible items, as a test sets them.
class TestContent final : public IAccessibleContent {
public:
    std::vector<AccessibleItem> AccessibleItems() const override { return items; }
    std::vector<AccessibleItem> items;
};

// Asked of the client area's object as a screen reader asks, in this process.
class AccessibilityClient {
public:
    VARIANT Child(LONG id) const {
        VARIANT v{};
        v.vt = VT_I4;
        v.lVal = id;
        return v;
    }
    std::string Name(LONG id) {
        BSTR name = nullptr;
        if (FAILED(acc->get_accName(Child(id), &name)) || !name) return "(none)";
        const std::string text = Utf8(name);
        free_string(name);
        return text;
    }
    LONG Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), LONG id) {
        VARIANT out{};
        return SUCCEEDED((acc.Get()->*get)(Child(id), &out)) && out.vt == VT_I4 ? out.lVal : -1;
    }

    SystemLibrary oleacc{"oleacc.dll"};
    SystemLibrary oleaut32{"oleaut32.dll"};
    decltype(&::AccessibleObjectFromWindow) from_window =
        oleacc.Get<std::remove_pointer_t<decltype(&::AccessibleObjectFromWindow)>>("AccessibleObjectFromWindow");
    decltype(&::SysFreeString) free_string =
        oleaut32.Get<std::remove_pointer_t<decltype(&::SysFreeString)>>("SysFreeString");
    ComPtr<IAccessible> acc;
};

TEST_F(Desktop, AccessibleItemsAreTheClientAreasChildrenWhileTheWindowLives) {
    TestContent content;
    content.items = {
        {AccessibleRole::StaticText, "Welcome", "", "", {10, 10, 80, 26}, true, false, false},
        {AccessibleRole::PushButton, "Setup", "Press to install.", "Open", {10, 40, 60, 56}, true, true, true},
        {AccessibleRole::PushButton, "Hidden", "", "Open", {10, 70, 60, 86}, false, true, false},
    };
    platform.SetAccessibleContent(w, &content);
    HWND hwnd = ::FindWindowW(L"TInstallationForm", L"Test");
    ASSERT_NE(hwnd, nullptr);
    AccessibilityClient client;
    ASSERT_TRUE(client.from_window && client.free_string);
    ASSERT_HRESULT_SUCCEEDED(client.from_window(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                                reinterpret_cast<void**>(client.acc.Out())));
    IAccessible& acc = *client.acc.Get();

    LONG count = 0;
    EXPECT_HRESULT_SUCCEEDED(acc.get_accChildCount(&count));
    EXPECT_EQ(count, 2) << "the shown items";
    EXPECT_EQ(client.Name(1), "Welcome");
    EXPECT_EQ(client.Name(2), "Setup");
    EXPECT_EQ(client.Name(CHILDID_SELF), "Test") << "the window's caption, from the system's object";
    EXPECT_EQ(client.Number(&IAccessible::get_accRole, 1), ROLE_SYSTEM_STATICTEXT);
    EXPECT_EQ(client.Number(&IAccessible::get_accRole, 2), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(client.Number(&IAccessible::get_accRole, CHILDID_SELF), ROLE_SYSTEM_CLIENT);
    EXPECT_TRUE(client.Number(&IAccessible::get_accState, 2) & STATE_SYSTEM_FOCUSABLE);
    EXPECT_TRUE(client.Number(&IAccessible::get_accState, 3) & STATE_SYSTEM_INVISIBLE);
    EXPECT_FALSE(client.Number(&IAccessible::get_accState, 1) & STATE_SYSTEM_INVISIBLE);
    BSTR name = nullptr;
    EXPECT_EQ(acc.get_accName(client.Child(4), &name), E_INVALIDARG);

    LONG x = 0, y = 0, width = 0, height = 0;
    ASSERT_HRESULT_SUCCEEDED(acc.accLocation(&x, &y, &width, &height, client.Child(2)));
    const TPoint origin = platform.ClientToScreen(w, {10, 40});
    EXPECT_EQ(std::make_tuple(x, y, width, height), std::make_tuple(origin.x, origin.y, 50L, 16L));

    // The enumeration skips the hidden one; navigation too.
    ComPtr<IEnumVARIANT> children;
    ASSERT_HRESULT_SUCCEEDED(acc.QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(children.Out())));
    VARIANT listed[3]{};
    ULONG fetched = 0;
    EXPECT_EQ(children->Next(3, listed, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(std::make_pair(listed[0].lVal, listed[1].lVal), std::make_pair(1L, 2L));
    VARIANT next{};
    EXPECT_EQ(acc.accNavigate(NAVDIR_NEXT, client.Child(2), &next), S_FALSE);
    EXPECT_HRESULT_SUCCEEDED(acc.accNavigate(NAVDIR_LASTCHILD, client.Child(CHILDID_SELF), &next));
    EXPECT_EQ(next.lVal, 2);

    // The action goes to the framework's loop as a message; what has none refuses.
    EXPECT_HRESULT_SUCCEEDED(acc.accDoDefaultAction(client.Child(2)));
    EXPECT_EQ(acc.accDoDefaultAction(client.Child(1)), DISP_E_MEMBERNOTFOUND);
    Message m;
    bool activated = false;
    while (platform.PeekMessage(m))
        if (m.kind == MessageKind::DefaultAction && m.window == w) activated = m.item == 1;
    EXPECT_TRUE(activated);

    // A client may hold the object after the window is gone.
    platform.DestroyWindow(w);
    EXPECT_EQ(acc.get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(acc.accDoDefaultAction(client.Child(2)), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(acc.get_accName(client.Child(1), &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(children->Next(1, listed, nullptr), CO_E_OBJNOTCONNECTED);
    while (platform.PeekMessage(m)) EXPECT_NE(m.kind, MessageKind::DefaultAction);
}

}  // namespace
}  // namespace automenu::platform
