/* Stand-in for the uninstaller and for the browser in the qmunins tests.
   Each run appends one line to C:\record_<name>.txt, <name> being its own
   base name without extension: "ran" and a tab, then its raw command line
   exactly as GetCommandLineA gives it.

   Started under the name clipboard.exe, it records the clipboard's text
   instead (the tests copy a message box's text with Ctrl+C). */
#include <windows.h>
#include <stdio.h>
#include <string.h>

static void record_clipboard(FILE* f) {
  HANDLE data;
  const char* text;
  if (!OpenClipboard(NULL)) return;
  data = GetClipboardData(CF_TEXT);
  text = data ? (const char*)GlobalLock(data) : NULL;
  if (text) {
    fputs(text, f);
    GlobalUnlock(data);
  }
  CloseClipboard();
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR args, int show) {
  char self[MAX_PATH], out[MAX_PATH + 32];
  const char *base, *dot;
  int name_length;
  FILE* f;
  (void)instance;
  (void)previous;
  (void)args;
  (void)show;
  if (!GetModuleFileNameA(NULL, self, MAX_PATH)) return 2;
  base = strrchr(self, '\\');
  base = base ? base + 1 : self;
  dot = strrchr(base, '.');
  name_length = dot ? (int)(dot - base) : (int)strlen(base);
  snprintf(out, sizeof out, "C:\\record_%.*s.txt", name_length, base);
  f = fopen(out, "ab");
  if (!f) return 1;
  if (name_length == 9 && _strnicmp(base, "clipboard", 9) == 0) {
    record_clipboard(f);
  } else {
    fprintf(f, "ran\t%s\n", GetCommandLineA());
  }
  fclose(f);
  return 0;
}
