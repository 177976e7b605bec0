#!/usr/bin/env bash
# Fails when a source file includes from a folder its layer may not use, and prints
# each offending line. The layers point only down:
#   app -> capture -> settings, document -> imageio, ui -> util, and app -> editors
# (capture's desk marks up with the document's pieces: text box, toolbars, Save As), where
# the document builds on the annotations (annotate), which use imageio and util only; text
# recognition (ocr) uses imageio and util only and serves document, capture and app;
# recording (record) uses imageio and util only and serves app, capture and document. A folder
# may always use itself, the resource ids (res) and the scoped owners (scoped); the engine
# (snapcore) uses nothing else of the program's.
set -euo pipefail
cd "$(dirname "$0")/.."

allowed_for() {
    case "$1" in
        app) echo "capture settings document editors annotate ocr record imageio ui util" ;;
        capture) echo "settings document annotate ocr record imageio ui util" ;;
        document) echo "annotate ocr record imageio ui util" ;;
        settings|editors) echo "imageio ui util" ;;
        annotate|ocr|record) echo "imageio util" ;;
        imageio|ui) echo "util" ;;
        *) echo "" ;;
    esac
}

status=0
check_file() {
    local file=$1 layer=$2 allowed=$3
    local number=0 line target
    while IFS= read -r line; do
        number=$((number + 1))
        [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([a-z_]+)/ ]] || continue
        target=${BASH_REMATCH[1]}
        [[ $target == "$layer" || $target == res || $target == scoped ]] && continue
        [[ " $allowed " == *" $target "* ]] && continue
        echo "$file:$number: $layer may not include from $target/: $line"
        status=1
    done < "$file"
}

for folder in src/*/; do
    layer=$(basename "$folder")
    [[ $layer == res ]] && continue
    allowed=$(allowed_for "$layer")
    while IFS= read -r -d '' file; do
        check_file "$file" "$layer" "$allowed"
    done < <(find "$folder" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
done
while IFS= read -r -d '' file; do
    check_file "$file" snapcore ""
done < <(find snapcore -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)

exit $status
