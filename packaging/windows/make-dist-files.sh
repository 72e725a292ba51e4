#!/usr/bin/env bash
# The files shipped beside the Windows programs, and the zip for a hall PC
# set up by hand:
#   DIST/kvet.ini.example     the settings to fill in, UTF-16LE as Windows reads it
#   DIST/README-zh-CN.txt     the install guide (docs/windows-install.zh-CN.md), UTF-8 with BOM for Notepad
#   DIST/kvet-VERSION-win64.zip   kvet-VERSION/ holding the programs and those two files
#   bash packaging/windows/make-dist-files.sh DIST VERSION
set -euo pipefail
cd "$(dirname "$0")/../.."
dist=$1
version=$2

python3 - "$dist" <<'PY'
import sys, pathlib
dist = pathlib.Path(sys.argv[1])
ini = ("[option]\r\n"
       "; 数据库名\r\nmydata=\r\n"
       "; 服务器：名称或 IP，可带实例名或端口，如 192.168.1.10,1433\r\nmy=\r\n"
       "; SQL Server 登录名\r\nuser=\r\n"
       "; 密码的 Base64（用 kvet-check --encode-password 生成）\r\npassword=\r\n")
(dist / "kvet.ini.example").write_bytes(b"\xff\xfe" + ini.encode("utf-16-le"))
guide = pathlib.Path("docs/windows-install.zh-CN.md").read_text(encoding="utf-8")
(dist / "README-zh-CN.txt").write_bytes(b"\xef\xbb\xbf" + guide.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8"))
PY

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/kvet-$version"
cp "$dist"/*.exe "$dist/kvet.ini.example" "$dist/README-zh-CN.txt" "$stage/kvet-$version/"
zip=$(realpath "$dist")/kvet-$version-win64.zip
rm -f "$zip"
(cd "$stage" && cmake -E tar cf "$zip" --format=zip "kvet-$version")
