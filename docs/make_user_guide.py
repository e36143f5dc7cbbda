#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the HTML user guide from its Markdown source.

    make_user_guide.py IN.md OUT.html VERSION

Every picture the guide shows must exist beside OUT.html, or nothing is
written: a guide with a broken picture never reaches the package.
"""
import html
import os
import re
import sys
import tempfile

import markdown

PAGE = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title}</title>
<style>
body {{ font-family: sans-serif; line-height: 1.5; max-width: 46em; margin: 2em auto; padding: 0 1em;
       color: #222; background: #fff; }}
h1, h2, h3 {{ line-height: 1.2; }}
h2 {{ border-bottom: 1px solid #ccc; padding-bottom: 0.2em; margin-top: 2em; }}
img {{ max-width: 100%; height: auto; border: 1px solid #ccc; }}
code {{ background: #f3f3f3; padding: 0 0.2em; }}
.toc {{ background: #f7f7f7; padding: 0.5em 1em; }}
table {{ border-collapse: collapse; }}
th, td {{ border: 1px solid #ccc; padding: 0.3em 0.6em; text-align: left; vertical-align: top; }}
footer {{ margin-top: 3em; font-size: 0.9em; color: #555; }}
</style>
</head>
<body>
{body}
<footer>Kestrova {version}</footer>
</body>
</html>
"""


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    source, target, version = argv[1:]
    with open(source, encoding="utf-8") as f:
        text = f.read()
    title = re.search(r"^# (.+)$", text, re.MULTILINE)
    body = markdown.markdown(text, extensions=["toc", "tables", "sane_lists"], output_format="html")
    folder = os.path.dirname(os.path.abspath(target))
    missing = [src for src in re.findall(r'<img[^>]* src="([^"]+)"', body)
               if not os.path.isfile(os.path.join(folder, html.unescape(src)))]
    if missing:
        sys.stderr.write("make_user_guide: pictures missing beside %s: %s\n" % (target, ", ".join(missing)))
        return 1
    page = PAGE.format(title=html.escape(title.group(1) if title else "Kestrova"), body=body,
                       version=html.escape(version))
    # Written whole or not at all.
    fd, temp = tempfile.mkstemp(dir=folder, prefix=".user-guide-")
    with os.fdopen(fd, "w", encoding="utf-8") as out:
        out.write(page)
    os.chmod(temp, 0o644)
    os.replace(temp, target)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
