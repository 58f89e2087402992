#!/bin/sh
# Fails when a source file includes a header it may not use.
# - Between layers, dependencies point down only: nothing includes from app/
#   but app/, and nothing from cli/ but cli/. base/ and resources/ are the
#   floor: base/ may name its reasons with the texts of resources/.
# - Inside app/ and collection/, each sub-folder is a feature, except the
#   shared rooms every feature may use (app/window/, app/table/,
#   app/pictures/, pages/search/, which every page's writer fills, and
#   collection/lookup/ and collection/totals/, the one way to the card
#   databases and the one reading of prices and quantities). A feature uses
#   its own folder and the folders inside it, the shared rooms and the core
#   at the top of collection/, never another feature; only the top of app/
#   (the window and the application object) brings features together, and
#   nothing below it includes from it.
top="${1:-.}"
allowed() {
    case "$1" in
        base) echo "base resources" ;;
        resources) echo "resources" ;;
        collection) echo "base resources collection" ;;
        prefs) echo "base resources prefs" ;;
        pages) echo "base resources collection prefs pages" ;;
        app) echo "base resources collection prefs pages app" ;;
        cli) echo "base resources collection prefs pages cli" ;;
    esac
}
shared_rooms=" app/window app/table app/pictures pages/search collection/lookup collection/totals "
status=0
complain() {
    echo "$1"
    status=1
}
for folder in base resources collection prefs pages app cli; do
    ok="$(allowed "$folder")"
    for file in $(find "$top/$folder" -name '*.h' -o -name '*.cpp' | sort); do
        relative="${file#"$top"/}"
        room="$(dirname "$relative")"
        for used in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z/]*\/\)[A-Za-z0-9_]*\.h".*/\1/p' "$file" | sort -u); do
            used="${used%/}"
            layer="${used%%/*}"
            case " $ok " in
                *" $layer "*) ;;
                *) complain "$relative includes from $layer/, which $folder/ may not use"; continue ;;
            esac
            # Rooms matter only inside one's own layer.
            [ "$layer" = "$folder" ] || continue
            [ "$used" = "$room" ] && continue
            # A feature's own sub-folders are part of it; the top of a layer
            # is no feature.
            if [ "$room" != "$folder" ]; then
                case "$used" in "$room"/*) continue ;; esac
            fi
            if [ "$used" = "$folder" ]; then
                # The top of app/ is the window; the top of collection/ is its core store.
                if [ "$folder" = app ] && [ "$room" != app ]; then
                    complain "$relative includes the window from app/, which a feature may not use"
                fi
                continue
            fi
            case "$shared_rooms" in
                *" $used "*) continue ;;
            esac
            # $used is a feature: only the window brings features together.
            [ "$room" = app ] || complain "$relative includes from $used/, another feature's room"
        done
    done
done
# No circle between files: a header and its source are one unit, and no unit
# reaches itself through the units it includes.
circles="$(
    for folder in base resources collection prefs pages app cli; do
        find "$top/$folder" -name '*.h' -o -name '*.cpp'
    done | while read -r file; do
        unit="${file#"$top"/}"
        unit="${unit%.*}"
        sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z][A-Za-z0-9_/]*\)\.h".*/\1/p' "$file" |
            while read -r used; do [ "$used" = "$unit" ] || echo "$unit $used"; done
    done | awk '
        { edges[$1] = edges[$1] " " $2 }
        function visit(unit,    count, used, i) {
            state[unit] = 1
            path[++depth] = unit
            count = split(edges[unit], used, " ")
            for (i = 1; i <= count; i++) {
                if (state[used[i]] == 1) { found = used[i]; circle = ""
                    for (j = depth; j >= 1 && path[j] != found; j--) circle = path[j] " -> " circle
                    print found " -> " circle found; }
                else if (state[used[i]] == 0) visit(used[i])
            }
            depth--
            state[unit] = 2
        }
        END { for (unit in edges) if (state[unit] == 0) visit(unit) }'
)"
if [ -n "$circles" ]; then
    echo "$circles" | sed 's/^/circle between files: /'
    status=1
fi

# The command-line tool links no Qt Widgets.
if grep -n 'Widgets' "$top/cli/CMakeLists.txt" "$top/base/CMakeLists.txt" "$top/collection/CMakeLists.txt" \
        "$top/prefs/CMakeLists.txt" "$top/pages/CMakeLists.txt" "$top/resources/CMakeLists.txt"; then
    echo "only app/ may link Qt Widgets"
    status=1
fi
[ "$status" -eq 0 ] && echo "layering: every include points down, and no feature uses another's room"
exit "$status"
