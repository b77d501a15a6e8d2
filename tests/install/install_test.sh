#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR, checks the installed files with the desktop's own
# tools and runs the installed programs from there, so that nothing comes from the build folder.
# Usage: install_test.sh BUILD_DIR MIME_TYPE_OF VERSION APP_ID HELPERS_FROM_PROGRAMS [HELPER...]
set -euo pipefail

build=$1
mime_type_of=$2
version=$3
app_id=$4
helpers_from_programs=$5
shift 5
helpers=("$@")

fail() {
    echo "install_test: $*" >&2
    exit 1
}
for tool in desktop-file-validate appstreamcli update-mime-database readelf; do
    command -v "$tool" >/dev/null ||
        fail "$tool is missing (scripts/test.sh installs it with TEST_PACKAGES)"
done

work=$(mktemp -d)
# The installed scan keeps its cache there, not in the real home.
export XDG_CACHE_HOME="$work/cache-home"
trap 'rm -rf "$work"' EXIT
dest="$work/dest"
prefix=/usr/local
root="$dest$prefix"
DESTDIR="$dest" cmake --install "$build" --prefix "$prefix" >/dev/null

echo "== the installed files"
expected=(
    bin/corvanteller
    bin/corvanteller-cli
    share/man/man1/corvanteller.1.gz
    share/man/man1/corvanteller-cli.1.gz
    share/doc/corvanteller/copyright
    share/doc/corvanteller/changelog.gz
    "share/applications/$app_id.desktop"
    "share/metainfo/$app_id.metainfo.xml"
    "share/mime/packages/$app_id.xml"
)
for size in 48 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
for file in "${expected[@]}"; do
    [[ -f "$root/$file" ]] || fail "not installed: $file"
done
for size in 48 128 256; do
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    icon="$root/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    read -r width height < <(od -An -tu1 -j16 -N 8 "$icon" |
        awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
    [[ "$width $height" == "$size $size" ]] || fail "$icon is ${width}x$height"
done
# The helpers where the program looks for them, relative to its own folder.
for helper in "${helpers[@]}"; do
    [[ -x "$root/bin/$helpers_from_programs/$helper" ]] ||
        fail "helper $helper is not in bin/$helpers_from_programs"
done
# No program may look for libraries in the build folder.
for program in "$root"/bin/* "${helpers[@]/#/$root/bin/$helpers_from_programs/}"; do
    if readelf -d "$program" | grep -E '(RPATH|RUNPATH)' | grep -qF "$build"; then
        fail "$program keeps a library path into the build folder"
    fi
done
(cd "$root" && find . -type f | sort)

echo "== desktop-file-validate"
desktop-file-validate "$root/share/applications/$app_id.desktop"
grep -qx "Icon=$app_id" "$root/share/applications/$app_id.desktop" ||
    fail "the desktop entry does not name the icon $app_id"

echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net --strict "$root/share/metainfo/$app_id.metainfo.xml"

echo "== the list file's MIME entry"
# One database of the system's entries and the installed one, as a package installed into /usr
# gets it.
mime="$work/mime-data/mime"
mkdir -p "$mime/packages"
cp /usr/share/mime/packages/*.xml "$root/share/mime/packages/$app_id.xml" "$mime/packages/"
update-mime-database "$mime" 2>/dev/null
samples="$work/samples"
mkdir "$samples"
printf 'Corvanteller file..\r\n1\r\n7\r\nRussia\r\n' >"$samples/songs.sgl"
printf '\357\273\277Corvanteller file..\n1\n7\nRussia\n' >"$samples/songs-without-suffix"
# StarWriter's master documents end with .sgl as well; they are compound files.
printf '\320\317\021\340\241\261\032\341\000\000\000\000' >"$samples/master.sgl"
printf 'Corvanteller file.\r\n1\r\n7\r\n' >"$samples/one-stop-short"
mkdir "$work/data-home"
types=$(XDG_DATA_HOME="$work/data-home" XDG_DATA_DIRS="$work/mime-data" \
    "$mime_type_of" "$samples/songs.sgl" "$samples/songs-without-suffix" \
    "$samples/master.sgl" "$samples/one-stop-short" | tr '\n' ' ')
expected_types="application/x-corvanteller-list application/x-corvanteller-list "
expected_types+="application/vnd.stardivision.writer text/plain "
[[ "$types" == "$expected_types" ]] || fail "MIME types: $types, expected: $expected_types"
# The list file's type only: with inode/directory the program would become the desktop's
# folder opener, and opening any folder from another program would start a scan.
mime_types=$(sed -n 's/^MimeType=//p' "$root/share/applications/$app_id.desktop")
[[ "$mime_types" == "application/x-corvanteller-list;" ]] ||
    fail "the desktop entry claims the types $mime_types"

echo "== the installed programs"
cd "$work"
out=$("$root/bin/corvanteller-cli" --version)
[[ "$out" == "corvanteller-cli (Corvanteller) $version" ]] || fail "corvanteller-cli --version: $out"
out=$("$root/bin/corvanteller" --version)
[[ "$out" == "corvanteller (Corvanteller) $version" ]] || fail "corvanteller --version: $out"
mkdir -p tree/sub
# A karaoke file: a MIDI header, then the track name and a text event.
printf 'MThd\000\000\000\006\000\001\000\002\001\340\000\377\003\011Title <x>\000\377\001\006Artist' \
    >tree/sub/song.kar
printf 'not karaoke' >tree/readme.txt
"$root/bin/corvanteller-cli" scan tree >scan.out 2>scan.err
printf 'song.kar\ttree/sub/\tTitle <x>\tArtist\t\t\n' >scan.expected
diff -u scan.expected scan.out || fail "the installed scan wrote other lines"
[[ "$(cat scan.err)" == "# end=complete rows=1 listed=2 unreadable=0" ]] || fail "scan summary: $(cat scan.err)"
for program in corvanteller corvanteller-cli; do
    page="$root/share/man/man1/$program.1.gz"
    # gzip -n: the header holds neither the file's name nor a time.
    [[ "$(od -An -tu1 -j3 -N 5 "$page" | tr -s ' ')" == " 0 0 0 0 0" ]] ||
        fail "$page keeps a name or a time in its gzip header"
    gzip -dc "$page" | grep -q '^\.SH NAME' || fail "the manual page of $program has no NAME"
done
first_entry=$(gzip -dc "$root/share/doc/corvanteller/changelog.gz" | sed -n 1p)
[[ "$first_entry" == "corvanteller ($version) "* ]] ||
    fail "the changelog's first entry is not version $version: $first_entry"
echo "install_test: every check passed"
