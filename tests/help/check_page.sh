#!/usr/bin/env bash
# The help page in a real browser: headless Chromium loads it from its file
# URL and prints the document it built; the page must have rendered (its
# title, its heading and a heading for every topic), hold every anchor the
# program opens exactly once, and every link inside it must lead to an
# element of the page.
#
#   check_page.sh <help_anchors> <TSCSS.htm>
set -u
if [ $# -ne 2 ]; then
  echo "usage: $0 <help_anchors> <page.htm>" >&2
  exit 2
fi
anchors_tool=$1 page=$(realpath "$2")
browser=/usr/bin/chromium
[ -x "$browser" ] || { echo "FAIL: $browser is missing (scripts/setup.sh installs chromium)"; exit 1; }
[ -f "$page" ] || { echo "FAIL: no page $page"; exit 1; }

work=$(mktemp -d /tmp/tessaly-help.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$anchors_tool" > "$work/anchors" || { echo "FAIL: $anchors_tool did not run"; exit 1; }
[ -s "$work/anchors" ] || { echo "FAIL: the program names no anchors"; exit 1; }

# A profile of its own that nothing else uses, and nothing that reaches out
# to the network.
timeout --kill-after=10 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync --user-data-dir="$work/profile" \
  --dump-dom "file://$page" > "$work/dom.html" 2> "$work/browser.log"
rc=$?
if [ $rc -ne 0 ] || [ ! -s "$work/dom.html" ]; then
  echo "FAIL: chromium ended with $rc and no document"
  tail -20 "$work/browser.log"
  exit 1
fi

python3 - "$work/dom.html" "$work/anchors" <<'PY'
import sys
from html.parser import HTMLParser

class Page(HTMLParser):
    def __init__(self):
        super().__init__()
        self.ids, self.links, self.headings, self.sections = [], [], [], []
        self.title, self._in, self._text = "", None, ""
    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if "id" in a:
            self.ids.append(a["id"])
        if tag == "a" and a.get("href", "").startswith("#"):
            self.links.append((self.sections[-1]["id"] if self.sections else None, a["href"][1:]))
        if tag == "section":
            self.sections.append({"id": a.get("id"), "heading": None})
        if tag in ("title", "h1", "h2"):
            self._in, self._text = tag, ""
    def handle_data(self, data):
        if self._in:
            self._text += data
    def handle_endtag(self, tag):
        if tag != self._in:
            return
        text = " ".join(self._text.split())
        if tag == "title":
            self.title = text
        else:
            self.headings.append((tag, text))
            if tag == "h2" and self.sections and self.sections[-1]["heading"] is None:
                self.sections[-1]["heading"] = text
        self._in = None

dom = open(sys.argv[1], encoding="utf-8", errors="replace").read()
anchors = [line.strip() for line in open(sys.argv[2]) if line.strip()]
page = Page()
page.feed(dom)
faults = []
def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        faults.append(what)

check(page.title == "Tessaly Customizable Screen Saver Help", "the title: %r" % page.title)
check(("h1", "Tessaly Customizable Screen Saver") in page.headings, "the page's heading")
check(len(page.sections) >= 3, "%d topics" % len(page.sections))
for s in page.sections:
    check(bool(s["id"]) and bool(s["heading"]), "topic %r has an anchor and the heading %r" % (s["id"], s["heading"]))
for anchor in anchors:
    check(page.ids.count(anchor) == 1, "the anchor the program opens, #%s, is there once (%d)" % (anchor, page.ids.count(anchor)))
for link in sorted(set(target for _, target in page.links)):
    check(link in page.ids, "the link #%s leads into the page" % link)
# The keyword index leads to every other topic.
from_index = set(target for section, target in page.links if section == "index")
for s in page.sections:
    if s["id"] != "index":
        check(s["id"] in from_index, "the index leads to #%s" % s["id"])
if faults:
    print("%d fault(s)" % len(faults))
    sys.exit(1)
PY
