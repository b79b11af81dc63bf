#!/usr/bin/python3
"""Times what a user might use instead of @FILE2URI and @URI2FILE: Python's
pathlib.PureWindowsPath(name).as_uri(), and nturl2path's pathname2url and
url2pathname (the Windows implementation behind urllib.request, importable on
any system), on the inputs the native benchmarks use.

Reads the inputs as JSON (from `marivex_bench --inputs`) on standard input and
prints one JSON object: for each case, the nanoseconds per call of each peer,
the fastest of five timeit runs of about 0.2 s each.
"""
import json
import nturl2path
import pathlib
import sys
import timeit


def ns_per_call(function, argument):
    timer = timeit.Timer("f(a)", globals={"f": function, "a": argument})
    calls, _ = timer.autorange()
    calls = max(calls, 1)
    return min(timer.repeat(repeat=5, number=calls)) / calls * 1e9


def as_uri(name):
    return pathlib.PureWindowsPath(name).as_uri()


def main():
    inputs = json.load(sys.stdin)
    results = {}
    for label, entry in inputs["names"].items():
        name, uri = entry["name"], entry["uri"]
        # urllib.request hands url2pathname the URL without its "file:" scheme.
        url_path = uri[len("file:"):]
        assert as_uri(name) == uri, (as_uri(name), uri)
        assert nturl2path.url2pathname(url_path) == name
        file_peers = {
            "pathlib.PureWindowsPath.as_uri": ns_per_call(as_uri, name),
            "nturl2path.pathname2url": ns_per_call(nturl2path.pathname2url, name),
        }
        results["file2uri_" + label] = file_peers
        results["file2uris_" + label] = file_peers
        results["uri2file_" + label] = {
            "nturl2path.url2pathname": ns_per_call(nturl2path.url2pathname, url_path),
        }
    json.dump(results, sys.stdout)
    print()


if __name__ == "__main__":
    main()
