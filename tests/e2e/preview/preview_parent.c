/* Stands in for the system's preview monitor: a window whose handle is
   given to the screen saver's /p. Writes the handle (decimal) to argv[1],
   the number of child windows it holds to argv[2] every 100 ms, and
   destroys the window once the file argv[3] exists; ends 5 s later. */
#include <stdio.h>
#include <windows.h>

static const char *g_children, *g_trigger;
static HWND g_window;
static int g_destroyedAt;

static BOOL CALLBACK CountChild(HWND h, LPARAM p) {
  (void)h;
  ++*(int*)p;
  return TRUE;
}

static void WriteText(const char* path, const char* text) {
  char temp[MAX_PATH + 8];
  FILE* f;
  snprintf(temp, sizeof temp, "%s.new", path);
  f = fopen(temp, "w");
  if (!f) return;
  fputs(text, f);
  fclose(f);
  MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING);
}

static void CALLBACK Tick(HWND h, UINT m, UINT_PTR id, DWORD t) {
  char text[32];
  int n = 0;
  (void)h, (void)m, (void)id;
  if (g_window) {
    EnumChildWindows(g_window, CountChild, (LPARAM)&n);
    snprintf(text, sizeof text, "%d\n", n);
    WriteText(g_children, text);
    if (GetFileAttributesA(g_trigger) != INVALID_FILE_ATTRIBUTES) {
      DestroyWindow(g_window);
      g_window = NULL;
      g_destroyedAt = (int)t;
      WriteText(g_children, "destroyed\n");
    }
  } else if ((int)t - g_destroyedAt > 5000) {
    PostQuitMessage(0);
  }
}

int main(int argc, char** argv) {
  WNDCLASSA wc = {0};
  RECT r = {0, 0, 152, 112};
  char text[32];
  MSG msg;
  if (argc < 4) return 2;
  g_children = argv[2];
  g_trigger = argv[3];
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(NULL);
  wc.lpszClassName = "PreviewParent";
  wc.hbrBackground = (HBRUSH)GetStockObject(GRAY_BRUSH);
  RegisterClassA(&wc);
  AdjustWindowRect(&r, WS_POPUP, FALSE);
  g_window = CreateWindowA("PreviewParent", "Preview Parent", WS_POPUP | WS_VISIBLE, 10, 10, r.right - r.left,
                           r.bottom - r.top, NULL, NULL, wc.hInstance, NULL);
  if (!g_window) return 1;
  snprintf(text, sizeof text, "%llu\n", (unsigned long long)(UINT_PTR)g_window);
  WriteText(argv[1], text);
  SetTimer(NULL, 0, 100, Tick);
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
