/* Stand-in for the uninstaller and the browser: appends its raw command
   line to C:\record_<name>.txt, where <name> is its own base name. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

int WINAPI WinMain(HINSTANCE a, HINSTANCE b, LPSTR c, int d) {
  char self[MAX_PATH], out[MAX_PATH + 32];
  const char *base, *dot;
  FILE *f;
  (void)a; (void)b; (void)c; (void)d;
  GetModuleFileNameA(NULL, self, MAX_PATH);
  base = strrchr(self, '\\');
  base = base ? base + 1 : self;
  dot = strrchr(base, '.');
  snprintf(out, sizeof out, "C:\\record_%.*s.txt", (int)(dot ? dot - base : (int)strlen(base)), base);
  f = fopen(out, "ab");
  if (!f) return 1;
  fprintf(f, "%s\n", GetCommandLineA());
  fclose(f);
  return 0;
}
