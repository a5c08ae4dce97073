/* Stands in for the window that is in the foreground when Windows starts
   the screen saver's configuration (the Display Properties dialog): a
   visible window titled "Display Properties". Every 50 ms it appends a line
   to the file argv[1] when its state has changed since the last line:
   "enabled" or "disabled", then " foreground" when it is the foreground
   window. It ends once the file argv[2] exists. */
#include <stdio.h>
#include <windows.h>

static const char *g_log, *g_stop;
static HWND g_window;
static char g_last[64];

static void CALLBACK Tick(HWND h, UINT m, UINT_PTR id, DWORD t) {
  char state[64];
  FILE* f;
  (void)h, (void)m, (void)id, (void)t;
  snprintf(state, sizeof state, "%s%s", IsWindowEnabled(g_window) ? "enabled" : "disabled",
           GetForegroundWindow() == g_window ? " foreground" : "");
  if (strcmp(state, g_last) != 0) {
    f = fopen(g_log, "a");
    if (f) {
      fprintf(f, "%s\n", state);
      fclose(f);
      strcpy(g_last, state);
    }
  }
  if (GetFileAttributesA(g_stop) != INVALID_FILE_ATTRIBUTES) PostQuitMessage(0);
}

int main(int argc, char** argv) {
  WNDCLASSA wc = {0};
  MSG msg;
  if (argc < 3) return 2;
  g_log = argv[1];
  g_stop = argv[2];
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(NULL);
  wc.lpszClassName = "ForegroundStandIn";
  wc.hbrBackground = (HBRUSH)GetStockObject(GRAY_BRUSH);
  RegisterClassA(&wc);
  g_window = CreateWindowA("ForegroundStandIn", "Display Properties", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                           200, NULL, NULL, wc.hInstance, NULL);
  if (!g_window) return 1;
  SetForegroundWindow(g_window);
  SetTimer(NULL, 0, 50, Tick);
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
