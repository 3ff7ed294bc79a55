#!/usr/bin/env bash
# The picture tour goes through with the program as built, and takes the very pictures that
# docs/images holds, under the same names (README.md and the AppStream file name those).
#   tour_test.sh TARVANE
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
pictures=$(mktemp -d)
trap 'rm -rf "$pictures"' EXIT

bash "$source_dir/scripts/tour.sh" "$1" "$pictures"
taken=$(cd "$pictures" && printf "%s\n" *.png)
kept=$(cd "$source_dir/docs/images" && printf "%s\n" *.png)
if [ "$taken" != "$kept" ]; then
    echo "The tour took:"
    echo "$taken"
    echo "docs/images holds:"
    echo "$kept"
    exit 1
fi
echo "The tour took the $(wc -l <<<"$taken") pictures of docs/images."
