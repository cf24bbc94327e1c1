# Shared by 'make run', 'make test' and 'make bench': which Windows bitness the tests and
# the run use on this machine. Source it; it defines functions only.
#
# The product is always the 32-bit cardmend.exe. Debian's Wine runs 32-bit Windows programs
# through a 32-bit Linux loader, and some of our machines boot a kernel that runs no 32-bit
# Linux program; there the same sources are built as 64-bit Windows programs and run under
# wine64 instead.

# A 32-bit Linux program of 93 bytes that only exits with 0: an ELF header, one loadable
# segment and "xor ebx,ebx; mov eax,1; int 0x80".
probe32_bytes() {
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
  printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'
  printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'
  printf '\x00\x00\x00\x00'
  printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
  printf '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
  printf '\x31\xdb\xb8\x01\x00\x00\x00\xcd\x80'
}

runs_32bit_programs() {
  local probe status
  probe=$(mktemp)
  probe32_bytes >"$probe"
  chmod +x "$probe"
  status=0
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  return $status
}

# choose_flavor: sets and exports FLAVOR (32 or 64) from FLAVOR as given or from what the
# machine runs, and prints the one line that says which and why.
choose_flavor() {
  case "${FLAVOR:-}" in
    32)
      if ! runs_32bit_programs; then
        echo "flavor: FLAVOR=32 asks for 32-bit programs, which this machine's kernel cannot run" >&2
        return 1
      fi
      echo "flavor: 32-bit (forced by FLAVOR=32)" ;;
    64) echo "flavor: 64-bit (forced by FLAVOR=64)" ;;
    "")
      if runs_32bit_programs; then
        FLAVOR=32
        echo "flavor: 32-bit (this machine runs 32-bit programs; FLAVOR=64 forces the 64-bit one)"
      else
        FLAVOR=64
        echo "flavor: 64-bit (this machine's kernel runs no 32-bit program, so Wine cannot run 32-bit Windows programs)"
      fi ;;
    *) echo "FLAVOR is 32 or 64, not '$FLAVOR'" >&2; return 2 ;;
  esac
  export FLAVOR
}

# use_flavor_wine DIR: in the 64-bit flavor, makes every 'wine' (and so wineboot, winepath,
# regedit and the processes Wine starts itself) the 64-bit loader, through small scripts in
# DIR put first on PATH. Debian's own 'wine' would pick the 32-bit loader because it exists.
use_flavor_wine() {
  local dir=$1 name
  [ "$FLAVOR" = 64 ] || return 0
  mkdir -p "$dir"
  for name in wine wine-stable wine64; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$dir/$name"
    chmod +x "$dir/$name"
  done
  export PATH="$dir:$PATH" WINELOADER=/usr/lib/wine/wine64
}
