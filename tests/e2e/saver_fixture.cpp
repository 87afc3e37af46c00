// Stands in for the running saver: creates its window and logs what the
// close request finds when it arrives.
//   saver_fixture LOG READY-EVENT [minimised] [popup] [lower] [deep] [hung] [hang-after]
// hung: once ready, its thread pumps no more messages; hang-after: it stops
// in the middle of handling the close request.
// READY-EVENT "file:PATH" creates the file PATH instead, for scripts.
#include <windows.h>

#include <stdio.h>
#include <string.h>

namespace {

const UINT kCloseRequest = WM_APP + 15;
const char* logPath;
HWND saver, popup, deepest;
bool hangAfterRequest;
const DWORD kHangMs = 45000;  // longer than the helper may wait; the test ends us before

void Log(HWND window, WPARAM wParam, LPARAM lParam) {
  HWND root = GetAncestor(window, GA_ROOT);
  FILE* out = fopen(logPath, "a");
  if (!out) return;
  const char* which = window == popup ? "popup" : window == deepest ? "deep" : window == saver ? "saver" : "other";
  fprintf(out, "message=0x%x wParam=%lu lParam=%ld window=%s iconic=%d foreground=%d\n", kCloseRequest,
          static_cast<unsigned long>(wParam), static_cast<long>(lParam), which, IsIconic(root) ? 1 : 0,
          GetForegroundWindow() == root ? 1 : 0);
  fclose(out);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCloseRequest) {
    Log(window, wParam, lParam);
    if (hangAfterRequest) Sleep(kHangMs);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool Has(int argc, char** argv, const char* option) {
  for (int i = 3; i < argc; ++i)
    if (!strcmp(argv[i], option)) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  logPath = argv[1];
  bool lower = Has(argc, argv, "lower");
  hangAfterRequest = Has(argc, argv, "hang-after");
  const char* title = lower ? "quorvane halvenstrand" : "Quorvane Halvenstrand";

  WNDCLASSA windowClass;
  ZeroMemory(&windowClass, sizeof windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "QV D3D Window";
  RegisterClassA(&windowClass);
  windowClass.lpszClassName = "Fixture Host";
  RegisterClassA(&windowClass);

  if (Has(argc, argv, "deep")) {
    // The saver window twelve levels down inside another program's window.
    saver = CreateWindowExA(0, "Fixture Host", "Host", WS_OVERLAPPEDWINDOW, 10, 10, 400, 300, nullptr, nullptr,
                            windowClass.hInstance, nullptr);
    HWND parent = saver;
    for (int level = 0; level < 11; ++level)
      parent = CreateWindowExA(0, "Fixture Host", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, parent, nullptr,
                               windowClass.hInstance, nullptr);
    deepest = CreateWindowExA(0, "QV D3D Window", title, WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent, nullptr,
                              windowClass.hInstance, nullptr);
  } else {
    saver = CreateWindowExA(0, "QV D3D Window", title, WS_OVERLAPPEDWINDOW, 10, 10, 400, 300, nullptr, nullptr,
                            windowClass.hInstance, nullptr);
  }
  ShowWindow(saver, SW_SHOW);
  SetForegroundWindow(saver);
  if (Has(argc, argv, "popup")) {
    popup = CreateWindowExA(0, "Fixture Host", "Options", WS_POPUP | WS_CAPTION | WS_VISIBLE, 50, 50, 200, 100, saver,
                            nullptr, windowClass.hInstance, nullptr);
    SetActiveWindow(popup);
    SetForegroundWindow(popup);
  }
  if (Has(argc, argv, "minimised")) ShowWindow(saver, SW_MINIMIZE);

  if (!strncmp(argv[2], "file:", 5)) {
    FILE* ready = fopen(argv[2] + 5, "w");
    if (ready) fclose(ready);
  } else {
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
    if (ready) SetEvent(ready);
  }

  if (Has(argc, argv, "hung")) {
    Sleep(kHangMs);
    return 0;
  }
  // Ends on the close request, or after a while so that a failed test leaves nothing behind.
  SetTimer(nullptr, 0, 30000, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER) break;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
