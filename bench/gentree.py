#!/usr/bin/python3
"""Makes the benchmark's inputs, the same bytes for the same seed.

  gentree.py tree DIR --pages N [--seed S]   a web site of N files, about 8 KiB each
  gentree.py lines FILE --mib M [--seed S]   one file of short lines
  gentree.py oneline FILE --count C          one line holding C occurrences of the search text

The site: a dozen files per directory, two levels deep; about a tenth of the files are not
pages (.css, .js, .txt, .htm, upper-case names) and so match neither the ".html" filter nor
grep's --include='*.html*'; about a third of the pages hold the search text "$#$". Line ends
are LF, CR LF, or mixed per file; pages are ASCII, GB2312 or UTF-8.
"""

import argparse
import os
import random
import sys

SEARCH = b"$#$"
PAGE_BYTES = 8 * 1024
FILES_PER_DIR = 12
DIRS_PER_SECTION = 50

WORDS = (
    "lorem ipsum dolor sit amet consectetur adipiscing elit sed do eiusmod tempor incididunt "
    "ut labore et dolore magna aliqua enim ad minim veniam quis nostrud exercitation ullamco "
    "laboris nisi aliquip ex ea commodo consequat duis aute irure in reprehenderit voluptate "
    "velit esse cillum fugiat nulla pariatur excepteur sint occaecat cupidatat non proident"
).split()

CHINESE = (
    "欢迎访问我们的网站这里有最新的产品信息和技术支持服务请与我们联系公司地址电话传真电子邮件"
    "首页新闻中心关于我们产品展示客户案例人才招聘在线留言版权所有网页批量修改工具下载说明"
)

TEMPLATES = (
    '<p class="c{n}">{words}</p>',
    '<a href="/doc/{n}.html" title="{word}">{words}</a>',
    '<div id="box{n}"><span>{words}</span></div>',
    '<li><a href="page{n}.html">{word}</a></li>',
    "<td>{n}</td><td>{words}</td>",
    '<img src="img/{word}{n}.gif" alt="{words}">',
    "  <!-- {words} -->",
    "",
)


def words(rng, low, high):
    return " ".join(rng.choice(WORDS) for _ in range(rng.randint(low, high)))


def chinese(rng, low, high):
    start = rng.randrange(len(CHINESE) - high)
    return CHINESE[start:start + rng.randint(low, high)]


def line_pool(rng, charset, size):
    """Lines (without line end) for pages of one character set."""
    pool = []
    for _ in range(size):
        template = rng.choice(TEMPLATES)
        text = template.format(n=rng.randrange(10000), word=rng.choice(WORDS),
                               words=words(rng, 2, 12)).encode("ascii")
        if charset != "ascii" and rng.random() < 0.35:
            text = ("<p>" + chinese(rng, 6, 30) + "</p>").encode(charset)
        pool.append(text)
    return pool


def head(charset):
    meta = {"ascii": "us-ascii", "gb2312": "gb2312", "utf-8": "utf-8"}[charset]
    return [b"<!DOCTYPE html>", b"<html>", b"<head>",
            b'<meta http-equiv="Content-Type" content="text/html; charset=' + meta.encode() + b'">',
            b"<title>page</title>", b"</head>", b"<body>"]


def page(rng, pools, holds_search):
    charset = rng.choice(("ascii", "gb2312", "gb2312", "utf-8"))
    pool = pools[charset]
    lines = head(charset)
    size = sum(len(x) + 2 for x in lines)
    while size < PAGE_BYTES - 40:
        line = rng.choice(pool)
        lines.append(line)
        size += len(line) + 2
    lines += [b"</body>", b"</html>"]
    if holds_search:
        for _ in range(rng.randint(1, 4)):
            i = rng.randrange(len(lines))
            at = rng.randint(0, len(lines[i]))
            lines[i] = lines[i][:at] + SEARCH + lines[i][at:]
    style = rng.random()
    if style < 0.4:
        ends = [b"\n"] * len(lines)
    elif style < 0.8:
        ends = [b"\r\n"] * len(lines)
    else:
        ends = [rng.choice((b"\n", b"\r\n")) for _ in lines]
    body = b"".join(line + end for line, end in zip(lines, ends))
    if rng.random() < 0.1:
        body = body.rstrip(b"\r\n")  # a last line without a line end
    return body


def other_file(rng, n):
    """A file that no filter of the benchmark matches."""
    kind = rng.randrange(5)
    if kind == 0:
        return "style%d.css" % n, b"body { margin: 0 }\n" * rng.randint(50, 400)
    if kind == 1:
        return "app%d.js" % n, b"var x = 1; // $#$\n" * rng.randint(50, 400)
    if kind == 2:
        return "notes%d.txt" % n, (words(rng, 50, 200) + "\n").encode() * 20
    if kind == 3:
        return "old%d.htm" % n, b"<p>$#$</p>\r\n" * rng.randint(100, 600)
    return "INDEX%d.HTML" % n, b"<P>$#$</P>\n" * rng.randint(100, 600)


def make_tree(out, pages, seed):
    rng = random.Random(seed)
    pools = {cs: line_pool(rng, cs, 4000) for cs in ("ascii", "gb2312", "utf-8")}
    os.makedirs(out, exist_ok=True)
    made = held = 0
    d = 0
    while made < pages:
        directory = os.path.join(out, "s%03d" % (d // DIRS_PER_SECTION), "d%05d" % d)
        os.makedirs(directory, exist_ok=True)
        for _ in range(min(FILES_PER_DIR, pages - made)):
            if rng.random() < 0.1:
                name, body = other_file(rng, made)
            else:
                holds = rng.random() < 1 / 3
                held += holds
                name = ("page%06d.html" if rng.random() < 0.95 else "page%06d.html.bak") % made
                body = page(rng, pools, holds)
            with open(os.path.join(directory, name), "wb") as f:
                f.write(body)
            made += 1
        d += 1
    print("%s: %d files in %d directories, %d pages hold the search text" % (out, made, d, held),
          file=sys.stderr)


def make_lines(path, mib, seed):
    """Short lines (5 to 40 bytes), LF ends; every third line on average holds the text."""
    rng = random.Random(seed)
    pool = []
    for _ in range(20000):
        text = words(rng, 1, 6).encode()[:40]
        if rng.random() < 1 / 3:
            at = rng.randint(0, len(text))
            text = text[:at] + SEARCH + text[at:]
        pool.append(text + b"\n")
    target = mib * 1024 * 1024
    with open(path, "wb") as f:
        written = 0
        while written < target:
            chunk = b"".join(rng.choices(pool, k=20000))
            f.write(chunk)
            written += len(chunk)


def make_oneline(path, count):
    """One line: the search text followed by seven letters, count times."""
    with open(path, "wb") as f:
        f.write((SEARCH + b"abcdefg") * count + b"\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("kind", choices=("tree", "lines", "oneline"))
    parser.add_argument("path")
    parser.add_argument("--pages", type=int, default=20000)
    parser.add_argument("--mib", type=int, default=200)
    parser.add_argument("--count", type=int, default=1000000)
    parser.add_argument("--seed", type=int, default=20240601)
    args = parser.parse_args()
    if args.kind == "tree":
        make_tree(args.path, args.pages, args.seed)
    elif args.kind == "lines":
        make_lines(args.path, args.mib, args.seed)
    else:
        make_oneline(args.path, args.count)


if __name__ == "__main__":
    main()
