#!/usr/bin/env python3
"""Writes a tree of small files for the walk benchmarks: FOLDERS folders of FILES files each,
spread over two levels, with a few names the walker must skip."""
import os
import sys


def main():
    root, count = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 100000
    per_folder = 500
    made = 0
    folder = 0
    while made < count:
        path = os.path.join(root, "d%03d" % (folder // 20), "s%04d" % folder)
        os.makedirs(path, exist_ok=True)
        for i in range(min(per_folder, count - made)):
            with open(os.path.join(path, "file%05d.dat" % i), "wb") as out:
                out.write(b"benchmark data %d\n" % i)
            made += 1
        folder += 1
    print("%d files in %d folders under %s" % (made, folder, root))


if __name__ == "__main__":
    main()
