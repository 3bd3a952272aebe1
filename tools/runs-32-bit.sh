#!/usr/bin/env bash
# Tells whether this machine runs 32-bit x86 programs, which the i686 build's
# tests need (32-bit Wine): exit 0 when it does, 1 when it does not. A kernel
# may be booted without them (ia32_emulation=off, since Linux 6.7), so the
# answer comes from starting one, a tiny static i386 program that exits with 0,
# not from reading the kernel's settings.
set -uo pipefail

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$work/exit.s"
if ! as --32 -o "$work/exit.o" "$work/exit.s" || ! ld -m elf_i386 -o "$work/exit" "$work/exit.o"; then
    echo "runs-32-bit: cannot make the 32-bit probe (binutils' as and ld are needed)" >&2
    exit 2
fi
"$work/exit" 2>/dev/null || exit 1
