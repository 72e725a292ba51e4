# Sourced by the Windows build scripts. apt-get source needs a deb-src entry
# for the archive the binary packages come from; Debian 12's default sources
# list only binary packages, so one is added beside it when missing.
ensure_deb_src() {
  if ! apt-get source --print-uris -qq "$1" >/dev/null 2>&1; then
    sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      >/etc/apt/sources.list.d/kvet-deb-src.sources
    apt-get update -qq
  fi
}
