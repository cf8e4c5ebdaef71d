#!/usr/bin/env python3
"""Takes pairs of consecutive revisions of text files from a git history
(this repository's own by default), writes them to a folder with their
list, and runs tarnwick_accuracy on them: where stored places come back
when a file changed between two openings, beside the line number alone.

  scripts/bench-accuracy.py BUILD_DIR [--repo PATH] [--pairs N] [--lines N]
                            [--per-commit N] [--max-bytes N] [--keep DIR]

Only files changed in place are taken (no additions, deletions, renames or
binary files), at most --per-commit of each commit, newest first, files of
at most --max-bytes in both revisions. A shallow clone or a history without
such pairs is reported and the script exits 0.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile


def git(repo, *args, binary=False):
    result = subprocess.run(["git", "-C", repo] + list(args), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    if result.returncode != 0:
        return None
    return result.stdout if binary else result.stdout.decode("utf-8", "replace")


def is_text(data):
    return b"\0" not in data[:8192]


def changed_files(repo):
    """(commit, path) of files modified in place, newest commit first."""
    log = git(repo, "log", "--no-merges", "--diff-filter=M", "--no-renames", "--format=@%H", "--numstat")
    if log is None:
        return
    commit = None
    for line in log.splitlines():
        if line.startswith("@"):
            commit = line[1:]
            continue
        fields = line.split("\t")
        if commit is None or len(fields) != 3 or fields[0] == "-":
            continue
        yield commit, fields[2]


def collect(repo, folder, most_pairs, per_commit, max_bytes):
    pairs = []
    taken = {}
    for commit, path in changed_files(repo):
        if len(pairs) >= most_pairs:
            break
        if taken.get(commit, 0) >= per_commit:
            continue
        old = git(repo, "show", "%s^:%s" % (commit, path), binary=True)
        new = git(repo, "show", "%s:%s" % (commit, path), binary=True)
        if old is None or new is None or old == new:
            continue
        if len(old) > max_bytes or len(new) > max_bytes or not is_text(old) or not is_text(new):
            continue
        n = len(pairs)
        for suffix, data in (("old", old), ("new", new)):
            with open(os.path.join(folder, "%04d.%s" % (n, suffix)), "wb") as f:
                f.write(data)
        pairs.append("%04d.old\t%04d.new\t%s:%s" % (n, n, commit[:10], path))
        taken[commit] = taken.get(commit, 0) + 1
    with open(os.path.join(folder, "pairs.txt"), "w") as f:
        f.write("\n".join(pairs) + ("\n" if pairs else ""))
    return pairs


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--repo", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser.add_argument("--pairs", type=int, default=150)
    parser.add_argument("--lines", type=int, default=30, help="places stored in each old revision")
    parser.add_argument("--per-commit", type=int, default=4)
    parser.add_argument("--max-bytes", type=int, default=256 * 1024)
    parser.add_argument("--keep", help="write the pairs here and keep them")
    args = parser.parse_args()

    if git(args.repo, "rev-parse", "--git-dir") is None:
        print("bench-accuracy: %s is not a git checkout; no history to measure on" % args.repo)
        return 0
    if (git(args.repo, "rev-parse", "--is-shallow-repository") or "").strip() == "true":
        print("bench-accuracy: %s is a shallow clone; its history is not here to measure on "
              "(git fetch --unshallow brings it)" % args.repo)
        return 0
    binary = os.path.join(args.build, "bench", "tarnwick_accuracy")
    if not os.path.exists(binary):
        print("bench-accuracy: %s is not built" % binary, file=sys.stderr)
        return 2

    folder = args.keep or tempfile.mkdtemp(prefix="tarnwick-pairs-")
    os.makedirs(folder, exist_ok=True)
    try:
        pairs = collect(args.repo, folder, args.pairs, args.per_commit, args.max_bytes)
        if not pairs:
            print("bench-accuracy: no text file was changed in place in the history of %s" % args.repo)
            return 0
        head = (git(args.repo, "log", "-1", "--format=%h %cd", "--date=short") or "").strip()
        print("History: %s at %s; %d pairs of revisions, at most %d per commit, %d places stored in each old revision"
              % (args.repo, head, len(pairs), args.per_commit, args.lines))
        sys.stdout.flush()
        return subprocess.run([binary, os.path.join(folder, "pairs.txt"), "--lines", str(args.lines)]).returncode
    finally:
        if not args.keep:
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
