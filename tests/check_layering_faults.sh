#!/bin/sh
# The layering check itself: on a copy of the tree with one forbidden include
# of each kind and one circle, it must name every one and fail.
set -u
top="$1"
check="$(dirname "$0")/check_layering.sh"
copy="$(mktemp -d)"
trap 'rm -rf "$copy"' EXIT
cp -r "$top/base" "$top/resources" "$top/collection" "$top/prefs" "$top/pages" "$top/app" "$top/cli" "$copy/"
echo '#include "app/binder/BinderWindow.h"' >> "$copy/app/csv/CsvFeature.cpp"
echo '#include "app/MainWindow.h"' >> "$copy/app/table/ColumnFit.cpp"
echo '#include "app/csv/CsvFeature.h"' >> "$copy/app/window/Tooltips.cpp"
echo '#include "collection/csv/CsvReader.h"' >> "$copy/collection/filter/CardFilter.cpp"
echo '#include "collection/csv/CsvReader.h"' >> "$copy/collection/Card.cpp"
echo '#include "pages/PageFiles.h"' >> "$copy/collection/CardTableModel.cpp"
echo '#include "collection/CardEntry.h"' >> "$copy/collection/ChoiceListModel.h"
if output="$(sh "$check" "$copy")"; then
    echo "the check passed a tree with forbidden includes"
    exit 1
fi
status=0
for file in app/csv/CsvFeature.cpp app/table/ColumnFit.cpp app/window/Tooltips.cpp collection/filter/CardFilter.cpp \
            collection/Card.cpp collection/CardTableModel.cpp; do
    if ! printf '%s\n' "$output" | grep -q "^$file "; then
        echo "the check missed $file"
        status=1
    fi
done
if ! printf '%s\n' "$output" | grep -q "^circle between files: .*collection/ChoiceListModel"; then
    echo "the check missed the circle through collection/ChoiceListModel"
    status=1
fi
exit "$status"
