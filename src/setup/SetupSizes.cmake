# Writes OUTPUT, an NSIS header with the kilobytes that the setup installs on
# 64-bit Windows (SIZE64_KB) and on 32-bit Windows (SIZE32_KB): the three
# programs of that architecture and the files both share (SHARED, separated by "|").
#   cmake -DWIN64_FILES=<dir> -DWIN32_FILES=<dir> -DSHARED=<file>|<file>... -DOUTPUT=<file> -P SetupSizes.cmake
string(REPLACE "|" ";" shared "${SHARED}")
set(shared_bytes 0)
foreach(file IN LISTS shared)
  file(SIZE ${file} bytes)
  math(EXPR shared_bytes "${shared_bytes} + ${bytes}")
endforeach()
set(text "")
foreach(arch 64 32)
  set(total ${shared_bytes})
  foreach(program Tessaly.scr qmunins.exe st6unst.exe)
    file(SIZE ${WIN${arch}_FILES}/${program} bytes)
    math(EXPR total "${total} + ${bytes}")
  endforeach()
  math(EXPR kilobytes "(${total} + 1023) / 1024")
  string(APPEND text "!define SIZE${arch}_KB ${kilobytes}\n")
endforeach()
file(WRITE ${OUTPUT} "${text}")
