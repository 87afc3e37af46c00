// Holds the foreground in a thread of its own until it is ended.
//   foreground_fixture READY-EVENT
#include <windows.h>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  WNDCLASSA windowClass;
  ZeroMemory(&windowClass, sizeof windowClass);
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "Foreground Holder";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "Foreground Holder", "Holder", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]);
  if (ready) SetEvent(ready);
  SetTimer(nullptr, 0, 30000, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER) break;
    DispatchMessageA(&message);
  }
  return 0;
}
