/* Tells what is on the desktop, as the end-to-end tests need it:
     window_info.exe                 the visible top-level windows, one per
                                     line: class name, a tab, the text;
     window_info.exe TITLE ID        the screen rectangle and the text of
                                     the control ID of the window titled
                                     TITLE: "left top right bottom", a tab,
                                     the text. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

static BOOL CALLBACK Print(HWND hwnd, LPARAM param) {
  char name[256] = "", text[1024] = "";
  (void)param;
  if (!IsWindowVisible(hwnd)) return TRUE;
  GetClassNameA(hwnd, name, sizeof name);
  GetWindowTextA(hwnd, text, sizeof text);
  printf("%s\t%s\n", name, text);
  return TRUE;
}

int main(int argc, char** argv) {
  HWND window, control;
  RECT r;
  char text[1024] = "";
  if (argc < 3) {
    EnumWindows(Print, 0);
    return 0;
  }
  window = FindWindowA(NULL, argv[1]);
  control = window ? GetDlgItem(window, atoi(argv[2])) : NULL;
  if (!control || !GetWindowRect(control, &r)) return 1;
  GetWindowTextA(control, text, sizeof text);
  printf("%ld %ld %ld %ld\t%s\n", (long)r.left, (long)r.top, (long)r.right, (long)r.bottom, text);
  return 0;
}
