#!/usr/bin/env bash
# Builds kvet's Windows installer with makensis:
#
#   packaging/windows/make-installer.sh DIST_DIR VERSION OUT_DIR
#
# DIST_DIR holds kvet.exe, kvet-demo.exe, kvet-check.exe and kvet-keeper.exe
# and the documents to ship beside them (.txt .md .html .htm .css .png .jpg
# .pdf: the install guide and what it shows; kvet.ini.example). Anything else
# there (the zip, an earlier installer, a kvet.ini, which belongs to the hall
# and is never shipped) stays out. Writes OUT_DIR/kvet-setup-VERSION.exe. Any makensis error or
# warning fails the build.
set -euo pipefail

if [ $# -ne 3 ]; then
  echo "usage: $0 DIST_DIR VERSION OUT_DIR" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
dist=$(cd "$1" && pwd)
version=$2
out=$3

if ! [[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
  echo "make-installer: the version must be three numbers, like 1.0.0 (got '$version')" >&2
  exit 2
fi
if ! command -v makensis >/dev/null; then
  echo "make-installer: makensis is missing (apt-get install nsis)" >&2
  exit 1
fi

programs=(kvet.exe kvet-demo.exe kvet-check.exe kvet-keeper.exe)
for program in "${programs[@]}"; do
  if [ ! -f "$dist/$program" ]; then
    echo "make-installer: $dist/$program is missing" >&2
    exit 1
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The file lists for the script: what is installed, and what the uninstaller
# removes (exactly that, so that nothing the hall added is deleted).
shipped=("${programs[@]}")
shopt -s nullglob nocaseglob
for path in "$dist"/*.{txt,md,html,htm,css,png,jpg,pdf} "$dist"/kvet.ini.example; do
  [ -f "$path" ] || continue
  shipped+=("$(basename "$path")")
done
shopt -u nocaseglob
: >"$work/files.nsh"
: >"$work/removals.nsh"
for name in "${shipped[@]}"; do
  # A name NSIS would read as something else (a variable, the end of a string).
  if [[ $name == *[\"\$\`]* || $name == *$'\n'* ]]; then
    echo "make-installer: cannot ship a file named '$name'" >&2
    exit 1
  fi
  printf 'File "%s"\n' "$dist/$name" >>"$work/files.nsh"
  printf 'Delete /REBOOTOK "$INSTDIR\\%s"\n' "$name" >>"$work/removals.nsh"
done

mkdir -p "$out"
target="$(cd "$out" && pwd)/kvet-setup-$version.exe"
partial="$target.partial"
rm -f "$partial"
# -WX: a warning (an unused function, a string that does not fit) fails too.
if ! makensis -V2 -WX -INPUTCHARSET UTF8 \
    "-DKVET_VERSION=$version" "-DKVET_DIST=$dist" "-DKVET_OUTFILE=$partial" \
    "-DKVET_FILES=$work/files.nsh" "-DKVET_REMOVALS=$work/removals.nsh" \
    "$here/kvet.nsi"; then
  rm -f "$partial"
  echo "make-installer: makensis failed" >&2
  exit 1
fi
# A 64-bit installer: a 32-bit one would do nothing in a 64-bit Wine prefix and
# still report success.
if ! x86_64-w64-mingw32-objdump -f "$partial" 2>/dev/null | grep -q 'pei-x86-64'; then
  if ! file "$partial" | grep -q 'x86-64'; then
    rm -f "$partial"
    echo "make-installer: $partial is not a 64-bit Windows program" >&2
    exit 1
  fi
fi
mv -f "$partial" "$target"
echo "make-installer: $target (${#shipped[@]} files)"
