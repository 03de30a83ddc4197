#!/usr/bin/env bash
# The release archive of the Windows build: cpack makes quillmesh-<version>-win64.zip holding the
# saver, the preview host, the README and the licence, and nothing else; a second build of the
# two programs from a copy of the source in another folder gives the same bytes. Needs no Wine.
#   bash tests/e2e/package.sh build/windows
set -uo pipefail
here=$(dirname "$0")
source "$here/lib.sh"
build=$(realpath "$1")
source_dir=$(realpath "$here/../..")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
top=quillmesh-$version-win64
zip=$build/package/$top.zip
unpacked=$(mktemp -d)
copy=$(mktemp -d)
trap 'rm -rf "$unpacked" "$copy"' EXIT

make_archive() {
    rm -f "$zip"
    cpack --config "$build/CPackConfig.cmake" -B "$build/package" >"$unpacked/cpack.log" 2>&1 ||
        { cat "$unpacked/cpack.log" >&2; return 1; }
    [[ -f $zip ]]
}

listing_is_exactly() { # listing_is_exactly FILE...
    local expected actual
    expected=$(printf "$top/%s\n" "$@" | sort)
    actual=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
    [[ $actual == "$expected" ]] || { diff <(echo "$expected") <(echo "$actual") >&2; return 1; }
}

same_as() { cmp -s "$unpacked/$top/$1" "$2"; }

# A symbol table left in would show here; a stripped file has none.
stripped() {
    local table
    table=$(x86_64-w64-mingw32-objdump -t "$unpacked/$top/$1") && [[ $table == *"no symbols"* ]]
}

# Only known DLLs (Windows 7 and later), which the platform takes from the system folder alone: a
# file of another imported name beside the program would be loaded instead of the system's.
imports_only_known_dlls() {
    local headers dll
    headers=$(x86_64-w64-mingw32-objdump -p "$unpacked/$top/$1") || return 1
    for dll in $(sed -n 's/^\s*DLL Name: //p' <<<"$headers"); do
        case ${dll,,} in
        kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | msvcrt.dll) ;;
        *) echo "$1 imports $dll" >&2; return 1 ;;
        esac
    done
}

# The programs and the archive built again from a copy of the source, in a folder of its own.
copy_builds_the_same() {
    tar -C "$source_dir" --exclude=./build --exclude="./${build#"$source_dir"/}" -cf - . |
        tar -C "$copy" -xf - || return 1
    local other=$copy/build/windows file
    (cd "$copy" && cmake --preset windows >"$copy/build.log" 2>&1 &&
        cmake --build --preset windows --target quillmesh scrprev >>"$copy/build.log" 2>&1 &&
        cpack --config "$other/CPackConfig.cmake" -B "$other/package" >>"$copy/build.log" 2>&1) ||
        { tail -20 "$copy/build.log" >&2; return 1; }
    for file in shell/win32/quillmesh.scr shell/win32/scrprev/Scrprev.exe package/$top.zip; do
        cmp "$build/$file" "$other/$file" >&2 || return 1
    done
}

# Every resource included. The bound keeps the C++ runtime's exception machinery and zero bytes of
# storage from creeping back into the file.
at_most_480_kb() { # at_most_480_kb FILE
    local size
    size=$(stat -c %s "$unpacked/$top/$1") || return 1
    ((size <= 480 * 1024)) || { echo "  $1 is $size bytes" >&2; return 1; }
}

version_resource_says() { # version_resource_says VERSION
    local resources
    resources=$(x86_64-w64-mingw32-windres -i "$unpacked/$top/quillmesh.scr" -O rc) &&
        [[ $resources == *"VALUE \"ProductVersion\", \"$1\""* ]]
}

check "cpack makes $top.zip" make_archive
check "it holds quillmesh.scr, Scrprev.exe, README.md and LICENSE only" \
    listing_is_exactly quillmesh.scr Scrprev.exe README.md LICENSE
unzip -q "$zip" -d "$unpacked" 2>/dev/null
check "its quillmesh.scr is the one built" same_as quillmesh.scr "$build/shell/win32/quillmesh.scr"
check "its README.md and LICENSE are the repository's" \
    bash -c "cmp -s '$unpacked/$top/README.md' '$source_dir/README.md' &&
             cmp -s '$unpacked/$top/LICENSE' '$source_dir/LICENSE'"
check "the archive's version is the saver's product version" version_resource_says "$version"
check "quillmesh.scr is at most 480 KB" at_most_480_kb quillmesh.scr
for program in quillmesh.scr Scrprev.exe; do
    check "$program is stripped" stripped "$program"
    check "$program imports only known DLLs" imports_only_known_dlls "$program"
done
check "a build in another folder gives the same programs and archive" copy_builds_the_same
ls -l "$zip" "$build/shell/win32/quillmesh.scr" 2>/dev/null | awk '{print $5, $NF}'

summary
