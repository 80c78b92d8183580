#!/usr/bin/env bash
# Fails when a file in src/ includes a header from a folder above its own layer.
# Layers, lowest first; folders on one line stand side by side and may not include each other.
set -euo pipefail
src=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../src" && pwd)}

layers=(core storage forms "layouts chrome" dialogs engine sites info navigation browser app)
declare -A rank
for i in "${!layers[@]}"; do
    for folder in ${layers[$i]}; do rank[$folder]=$i; done
done
rank[main.cpp]=${#layers[@]}

status=0
while IFS=: read -r file line text; do
    rel=${file#"$src"/}
    from=${rel%%/*}
    to=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$text")
    [[ $from == "$to" ]] && continue
    if [[ -z ${rank[$from]+x} || -z ${rank[$to]+x} ]]; then
        echo "src/$rel:$line: folder not in the layer list: ${rank[$from]+$to}${rank[$from]-$from}"
        status=1
    elif ((rank[$to] >= rank[$from])); then
        echo "src/$rel:$line: $from/ includes $to/, which is not below it: $text"
        status=1
    fi
done < <(grep -rn -E '^#include "[^/"]+/' "$src" --include='*.h' --include='*.cpp')
exit $status
