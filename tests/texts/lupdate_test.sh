#!/usr/bin/env bash
# Runs Qt's lupdate over the sources into a temporary .ts file and checks that texts of several
# folders are in it, so that the texts stay marked in a form lupdate can extract.
# Usage: lupdate_test.sh SOURCE_DIR [LUPDATE]
set -euo pipefail

sources=$1
lupdate=${2:-/usr/lib/qt6/bin/lupdate}

fail() {
    echo "lupdate_test: $*" >&2
    exit 1
}
[[ -x $lupdate ]] ||
    fail "$lupdate is missing (package qt6-l10n-tools; scripts/test.sh installs it with TEST_PACKAGES)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$lupdate" -silent -locations none -no-obsolete "$sources" -ts "$work/texts.ts" ||
    fail "lupdate failed"

# Each text as the .ts file holds it: XML-escaped, in its context.
expected=(
    'Rename|Complex rename of files from your table'
    'Rename|Can&apos;t rename %1. There is no such file.'
    'Rename|Переместить строку на один пункт вверх'
    'Office|No program was found to show %1. The file is kept there.'
    'Office|Документ Word|*.docx'
    'Text|Save as &amp;Word document...'
    'Help|File &gt; Rename files &gt; Complex renaming...'
    'Help|Time of last close of the program: %1'
    'Ui|No more messages'
    'Common|Continued from the top'
    'App|Save list &amp;as...'
    'App|&amp;The executor and/or the name of songs'
    'Settings|Keep check marks when the window is switched'
    'Kar|Cannot read &quot;%1&quot;: %2'
    'Table|Do you want save changes?'
    'Table|×'
    'App|Let&apos;s start...'
    'App|There is no file or folder &quot;%1&quot;.'
    'Rename|Dash with spaces &quot; -- &quot;'
    'Scan|The scan was stopped at %1. The rows read before it are in the table.'
    'Scan|Настройки сканирования'
    'Cli|%1 file(s) was(were) put back, %2 left alone.'
    'Cli|wrong option &quot;%1&quot;'
    'Write|The file %1 was not written: %2.'
    'Write|a Russian letter other than Ф ends a Soft Karaoke title'
)
missing=0
for entry in "${expected[@]}"; do
    context=${entry%%|*}
    text=${entry#*|}
    # The context's block, from its name to its end.
    block=$(sed -n "/<name>$context<\/name>/,/<\/context>/p" "$work/texts.ts")
    if ! grep -qF "<source>$text</source>" <<<"$block"; then
        echo "lupdate_test: \"$text\" is not in the context $context" >&2
        missing=1
    fi
done
exit "$missing"
