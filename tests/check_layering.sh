#!/bin/sh
# Fails when a source file includes a header from a folder its own folder may
# not use: dependencies point down only, and nothing includes from app/ but app/.
top="${1:-.}"
allowed() {
    case "$1" in
        base) echo "base" ;;
        resources) echo "resources" ;;
        collection) echo "base resources collection" ;;
        prefs) echo "base resources prefs" ;;
        pages) echo "base resources collection prefs pages" ;;
        app) echo "base resources collection prefs pages app" ;;
        cli) echo "base resources collection prefs pages cli" ;;
    esac
}
status=0
for folder in base resources collection prefs pages app cli; do
    ok="$(allowed "$folder")"
    for file in "$top/$folder"/*.h "$top/$folder"/*.cpp; do
        [ -e "$file" ] || continue
        for used in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z]*\)\/.*/\1/p' "$file" | sort -u); do
            case " $ok " in
                *" $used "*) ;;
                *) echo "${file#"$top"/} includes from $used/, which $folder/ may not use"; status=1 ;;
            esac
        done
    done
done
# The command-line tool links no Qt Widgets.
if grep -n 'Widgets' "$top/cli/CMakeLists.txt" "$top/base/CMakeLists.txt" "$top/collection/CMakeLists.txt" \
        "$top/prefs/CMakeLists.txt" "$top/pages/CMakeLists.txt" "$top/resources/CMakeLists.txt"; then
    echo "only app/ may link Qt Widgets"
    status=1
fi
[ "$status" -eq 0 ] && echo "layering: every include points down"
exit "$status"
