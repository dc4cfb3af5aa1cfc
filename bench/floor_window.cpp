// The yardsticks for start-up time: an empty window with Zelmora's title and, given the argument "tray", one
// tray icon added with Shell_NotifyIconA before the window is shown.

#include <windows.h>

#include <shellapi.h>

#include <cwchar>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"FloorWindow";
    RegisterClassW(&windowClass);
    const HWND window = CreateWindowW(L"FloorWindow", L"ZelmoraV2.0", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                      480, 240, nullptr, nullptr, instance, nullptr);
    NOTIFYICONDATAA icon{};
    const bool tray = std::wcscmp(commandLine, L"tray") == 0;
    if (tray) {
        icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
        icon.hWnd = window;
        icon.uID = 1;
        icon.uFlags = NIF_MESSAGE | NIF_ICON;
        icon.uCallbackMessage = WM_MOUSEMOVE;
        icon.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
        Shell_NotifyIconA(NIM_ADD, &icon);
    }
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (tray)
        Shell_NotifyIconA(NIM_DELETE, &icon);
    return 0;
}
