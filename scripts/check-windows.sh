#!/usr/bin/env bash
# Compiles every source file of src/ and tools/ (the entry points included) for
# Windows, syntax only, with mingw-w64's g++ against the installed Qt 6 headers
# and mingw-w64's Win32 and ODBC headers; then compiles kvet.rc with windres and
# checks the manifest it embeds. Any error fails the script.
#
# No Qt for Windows exists on this machine: Qt's headers are the same for every
# platform apart from qconfig.h and the qt*-config.h files, which hold the
# features of this Linux build of Qt. None of them names the operating system;
# that comes from qsystemdetection.h, which sets Q_OS_WIN from the compiler's
# _WIN32. So the Linux copy of Qt's headers serves without a shim. The one shim
# is a folder holding only SQLite's sqlite3.h (platform-neutral), since putting
# /usr/include itself on the path would bring in glibc's headers.
set -euo pipefail
cd "$(dirname "$0")/.."

cxx=x86_64-w64-mingw32-g++-posix
windres=x86_64-w64-mingw32-windres
if ! command -v "$cxx" >/dev/null || ! command -v "$windres" >/dev/null; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  echo "Installing: g++-mingw-w64-x86-64-posix"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 >/dev/null
fi

qt=$(qmake6 -query QT_INSTALL_HEADERS 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt6)
out=${KVET_WINDOWS_CHECK_DIR:-build-windows-check}
mkdir -p "$out/include"
ln -sf "$(realpath /usr/include/sqlite3.h)" "$out/include/sqlite3.h"

# The definitions of the Windows build: UNICODE/_UNICODE come with Qt's own
# CMake targets, NOMINMAX/WIN32_LEAN_AND_MEAN from CMakeLists.txt, QT_*_LIB as
# Qt's targets set them. Qt's headers and SQLite's are system headers here, so
# that only our own code's warnings show.
flags=(
  -std=c++20 -fsyntax-only -Wall -Wextra -Werror
  -DUNICODE -D_UNICODE -DNOMINMAX -DWIN32_LEAN_AND_MEAN
  -DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB -DQT_NETWORK_LIB
  -Isrc
  -isystem "$out/include"
  -isystem "$qt" -isystem "$qt/QtCore" -isystem "$qt/QtGui" -isystem "$qt/QtWidgets" -isystem "$qt/QtNetwork"
)

# The flags go to the compiler as a response file, one a line.
printf '%s\n' "${flags[@]}" >"$out/flags"
mapfile -t sources < <(find src tools -name '*.cpp' | sort)
echo "Compiling ${#sources[@]} source files for Windows ($cxx -fsyntax-only)"
# Side by side, one per core; each file's messages are printed with its name.
if ! printf '%s\n' "${sources[@]}" | xargs -P"$(nproc)" -I{} \
    sh -c 'log=$("$1" "@$2" "$3" 2>&1) || { printf "FAILED: %s\n%s\n" "$3" "$log"; exit 1; }' \
    sh "$cxx" "$out/flags" {}; then
  echo "Windows compile check: FAILED" >&2
  exit 1
fi

echo "Compiling src/app/kvet.rc ($windres)"
"$windres" -I src/app -DKVET_VERSION_MAJOR=1 -DKVET_VERSION_MINOR=0 -DKVET_VERSION_PATCH=0 \
  '-DKVET_VERSION_TEXT=\"1.0.0\"' -i src/app/kvet.rc -O coff -o "$out/kvet.res"

echo "Checking src/app/kvet.manifest"
python3 - src/app/kvet.manifest <<'EOF'
import sys
import xml.etree.ElementTree as ET

asm_v1 = "{urn:schemas-microsoft-com:asm.v1}"
asm_v3 = "{urn:schemas-microsoft-com:asm.v3}"
ws2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"
root = ET.parse(sys.argv[1]).getroot()  # raises on XML that is not well-formed
faults = []
if root.tag != asm_v1 + "assembly":
    faults.append("root element is not asm.v1 <assembly>")
awareness = [e.text.strip() for e in root.iter(ws2016 + "dpiAwareness") if e.text]
if not any("PerMonitorV2" in a.split(",")[0] for a in awareness):
    faults.append("no <dpiAwareness> starting with PerMonitorV2")
controls = [e for e in root.iter(asm_v1 + "assemblyIdentity")
            if e.get("name") == "Microsoft.Windows.Common-Controls" and e.get("version", "").startswith("6.")]
if not controls:
    faults.append("no dependency on Microsoft.Windows.Common-Controls 6")
levels = [e.get("level") for e in root.iter(asm_v3 + "requestedExecutionLevel")]
if levels != ["asInvoker"]:
    faults.append("requestedExecutionLevel is not asInvoker: %s" % levels)
for f in faults:
    print("kvet.manifest: " + f, file=sys.stderr)
sys.exit(1 if faults else 0)
EOF
echo "Windows compile check: passed"
