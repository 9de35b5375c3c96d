#!/usr/bin/env bash
# Installs BUILD_DIR into a temporary DESTDIR under the prefix /usr and checks
# what a desktop and a package manager will read there: the desktop entry,
# the AppStream metainfo, the MIME definition, the icons and man page, and
# that the installed program runs and reads its scenario bank.
#   packaging/check-install.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: packaging/check-install.sh BUILD_DIR}
app_id=org.example.lan_switching_quiz
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT

DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
root=$dest/usr
share=$root/share

desktop-file-validate "$share/applications/$app_id.desktop"
# The metainfo, and that its launchable names the installed desktop entry.
appstreamcli validate-tree --no-net "$dest"

# The MIME definition parses and compiles into a database (which reports
# mistakes on standard error but still exits 0).
xmllint --noout "$share/mime/packages/$app_id.xml"
mkdir -p "$dest/mime/packages"
cp "$share/mime/packages/$app_id.xml" "$dest/mime/packages/"
mime_errors=$(XDG_DATA_DIRS="$dest" update-mime-database "$dest/mime" 2>&1)
[ -z "$mime_errors" ] || { echo "$mime_errors" >&2; exit 1; }

# How a desktop (GLib, reading that database before the system's) types bank
# files: a Moodle file by its <quiz> root, any other XML file still as XML.
samples=$dest/samples
mkdir -p "$samples"
printf '<?xml version="1.0" encoding="UTF-8"?>\n<quiz>\n</quiz>\n' >"$samples/moodle.xml"
printf '<?xml version="1.0" encoding="UTF-8"?>\n<quizzes/>\n' >"$samples/other.xml"
printf '::Q1:: Which? {=yes ~no}\n' >"$samples/bank.gift"
check_type() {
    local type
    type=$(XDG_DATA_HOME="$dest/none" XDG_DATA_DIRS="$dest:/usr/share" gio info -a standard::content-type "$samples/$1" |
        sed -n 's/.*content-type: //p')
    [ "$type" = "$2" ] || { echo "check-install: $1 is typed $type, not $2" >&2; exit 1; }
}
check_type moodle.xml application/x-moodle-quiz+xml
check_type other.xml application/xml
check_type bank.gift text/x-gift

for size in 16 22 24 32 48 64 128 256; do
    test -s "$share/icons/hicolor/${size}x${size}/apps/$app_id.png"
done
xmllint --noout "$share/icons/hicolor/scalable/apps/$app_id.svg"
gzip -t "$share/man/man1/lan_switching_quiz.1.gz"

# The installed program runs, and its installed scenario bank reads cleanly
# (--check exits 1 on any warning, 2 when the file cannot be read).
program=$root/bin/lan_switching_quiz
timeout 10 "$program" --version
timeout 60 "$program" --check "$share/lan_switching_quiz/scenarios/scenarios.json"
echo "check-install: the installation in a temporary DESTDIR passes"
