# Debian's source packages, fetched and unpacked for the cross builds (tools/windows/build-deps,
# tools/web/build-deps source this file). apt-get source goes through a private apt configuration
# made from this machine's own apt sources (deb lines turned into deb-src), with its own lists and
# cache, so the machine's apt state is left as it is.
# The sourcing script sets: work (its work folder), patches (our patches, patches/<name>/*.patch),
# libraries ("source-package name" entries), and the functions say and die.

apt_dir="$work/apt"
apt_options=(
  -o "Dir::Etc::SourceList=$apt_dir/sources.list"
  -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
  -o "Dir::State::Lists=$apt_dir/lists"
  -o "Dir::Cache=$apt_dir/cache"
  -o "APT::Sandbox::User=$(id -un)"
  -q
)

make_private_apt() {
  rm -rf "$apt_dir"
  mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  : >"$apt_dir/sources.list"
  local found=0 f
  if [ -f /etc/apt/sources.list ]; then
    sed -nE 's/^[[:space:]]*deb[[:space:]]+/deb-src /p' /etc/apt/sources.list >"$apt_dir/sources.list"
    [ -s "$apt_dir/sources.list" ] && found=1
  fi
  for f in /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -nE 's/^[[:space:]]*deb[[:space:]]+/deb-src /p' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
    [ -s "$apt_dir/sources.list.d/$(basename "$f")" ] && found=1
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    # A stanza whose Types hold "deb" gets "Types: deb-src"; the others stay as they are.
    awk '/^Types:/ { n = split(substr($0, 7), t, " "); for (i = 1; i <= n; i++) if (t[i] == "deb") { print "Types: deb-src"; next } }
         { print }' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
    grep -q '^Types: deb-src' "$apt_dir/sources.list.d/$(basename "$f")" && found=1
  done
  [ "$found" = 1 ] || die "no deb sources found in /etc/apt to derive deb-src entries from"
}

fetch_sources() {
  local missing=() entry
  for entry in "${libraries[@]}"; do
    set -- $entry
    compgen -G "$work/downloads/${1}_*.dsc" >/dev/null || missing+=("$1")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "fetching source packages: ${missing[*]}"
  make_private_apt
  # A source without deb-src indexes (some third-party ones) makes update complain; what counts
  # is whether apt-get source then finds the packages.
  apt-get "${apt_options[@]}" update >"$work/apt-update.log" 2>&1 ||
    say "apt-get update (private lists) reported errors, see $work/apt-update.log; going on"
  mkdir -p "$work/downloads"
  (cd "$work/downloads" && apt-get "${apt_options[@]}" source --download-only "${missing[@]}") \
    >"$work/apt-source.log" 2>&1 || die "apt-get source failed; see $work/apt-source.log"
  for entry in "${missing[@]}"; do
    compgen -G "$work/downloads/${entry}_*.dsc" >/dev/null || die "no source package came for $entry"
  done
  rm -rf "$apt_dir" # the private lists are made afresh whenever something is to be fetched
}

# Unpacks a fresh copy of a source package (Debian's own patches applied), then ours.
unpack() {
  local package="$1" name="$2" dsc
  dsc="$(ls "$work/downloads/${package}"_*.dsc | sort -V | tail -n1)"
  rm -rf "$work/src/$name"
  mkdir -p "$work/src"
  dpkg-source --no-check -x "$dsc" "$work/src/$name" >"$work/logs/$name.unpack.log" 2>&1 ||
    die "dpkg-source -x $dsc failed; see $work/logs/$name.unpack.log"
  rm -f "$work/src/${package}_"*.tar.* # dpkg-source's copies of the downloaded tarballs
  say "  source $(basename "$dsc" .dsc)"
  version="$(basename "$dsc" .dsc)"
  version="${version#*_}"
  version="${version%%[+-]*}" # upstream version, for the .pc files written below
  local patch
  for patch in "$patches/$name"/*.patch; do
    [ -f "$patch" ] || continue
    say "  applying $(basename "$patch")"
    patch -d "$work/src/$name" -p1 --forward --batch --quiet <"$patch" || die "patch $(basename "$patch") does not apply"
  done
}
