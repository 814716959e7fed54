#!/usr/bin/env python3
"""Converts real HTML pages into page descriptions for the page doubles (tests/support/page_file.h).

usage: html2page.py [--base-url URL] SOURCE OUTPUT
  SOURCE a .html file or a folder (every *.html / *.htm in it, not recursive)
  OUTPUT the .page file ("-" for standard output), or the folder for a folder SOURCE
  --base-url  address of SOURCE's folder (default http://pages.quorin.test/); a page's address
              is this joined with its file name, so relative links between pages resolve to the
              addresses of the other converted pages.

Every element becomes one "element" record in document order with its attributes as written;
anchors, titles, headings and quotations also carry their innerText (blanks collapsed), and an
element inside an anchor (an image button's image) says so. Style
sheets (link rel=stylesheet and style elements) become "sheet" records whose disabled state is the
one a browser starts with: alternate titled sheets and titled sheets of another title than the
preferred one (Default-Style meta, else the first titled persistent sheet) are disabled. Frames and
iframes with a file of the same folder are converted inline; a frame of another host is "denied".
"""
import argparse
import html.parser
import os
import sys
import urllib.parse

TEXT_TAGS = {'a', 'title', 'q', 'h1', 'h2', 'h3', 'h4', 'h5', 'h6', 'caption', 'dt', 'option', 'button',
             'label', 'legend'}
FRAME_TAGS = {'frame', 'iframe'}
MAX_TEXT = 1000
MAX_FRAME_DEPTH = 3


def escape(value):
    return (value.replace('\\', '\\\\').replace('"', '\\"').replace('\n', '\\n').replace('\r', '\\r')
            .replace('\t', '\\t'))


def token(name, value=None):
    return name if value is None else f'{name}="{escape(value)}"'


class Element:
    def __init__(self, tag, attrs):
        self.tag = tag
        self.attrs = attrs  # ordered (name, value) pairs, names in lower case
        self.text = [] if tag in TEXT_TAGS else None
        self.inside = None  # the tag of the anchor it lies in

    def attr(self, name):
        for key, value in self.attrs:
            if key == name:
                return value
        return None


class Collector(html.parser.HTMLParser):
    """Elements in document order with the text of those in TEXT_TAGS."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.elements = []
        self.open = []  # elements whose text is being collected
        self.style_text = None

    def handle_starttag(self, tag, attrs):
        seen = set()
        unique = []
        for name, value in attrs:
            if name not in seen:  # the browser keeps the first of duplicate attributes
                seen.add(name)
                unique.append((name, '' if value is None else value))
        element = Element(tag, unique)
        if any(e.tag == 'a' for e in self.open):
            element.inside = 'a'
        self.elements.append(element)
        if element.text is not None:
            self.open.append(element)

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        self.handle_endtag(tag)

    def handle_endtag(self, tag):
        for i in range(len(self.open) - 1, -1, -1):
            if self.open[i].tag == tag:
                del self.open[i:]
                break

    def handle_data(self, data):
        for element in self.open:
            element.text.append(data)


def inner_text(parts):
    return ' '.join(''.join(parts).split())[:MAX_TEXT]


def words(value):
    return (value or '').lower().split()


def sheets_of(elements):
    """(title or None, href, is_alternate) of each style sheet in document order."""
    sheets = []
    for element in elements:
        title = element.attr('title')
        if element.tag == 'link' and 'stylesheet' in words(element.attr('rel')):
            sheets.append((title, element.attr('href') or '', 'alternate' in words(element.attr('rel'))))
        elif element.tag == 'style':
            sheets.append((title, '', False))
    preferred = None
    for element in elements:
        if element.tag == 'meta' and (element.attr('http-equiv') or '').lower() == 'default-style':
            preferred = element.attr('content')
    if preferred is None:
        preferred = next((t for t, _, alternate in sheets if t and not alternate), None)
    out = []
    for title, href, alternate in sheets:
        disabled = bool(title) and (alternate or title != preferred)
        out.append((title, href, disabled))
    return out


def read_html(path):
    with open(path, 'rb') as f:
        data = f.read()
    for encoding in ('utf-8', 'cp1252'):
        try:
            return data.decode(encoding)
        except UnicodeDecodeError:
            pass
    return data.decode('latin-1')


def convert(path, url, depth=0, seen=None):
    """The records of one page, frames inlined."""
    seen = (seen or set()) | {os.path.abspath(path)}
    collector = Collector()
    collector.feed(read_html(path))
    collector.close()
    elements = collector.elements
    title = next((inner_text(e.text) for e in elements if e.tag == 'title'), None)
    lines = ['document ' + token('url', url) + ('' if title is None else ' ' + token('title', title))]
    for element in elements:
        parts = ['element', element.tag] + [token(name, value) for name, value in element.attrs]
        if element.text is not None:
            parts.append(token(':text', inner_text(element.text)))
        if element.inside is not None:
            parts.append(token(':in', element.inside))
        lines.append(' '.join(parts))
    for title, href, disabled in sheets_of(elements):
        parts = ['sheet'] + ([] if title is None else [token('title', title)]) + [token('href', href)]
        if disabled:
            parts.append('disabled')
        lines.append(' '.join(parts))
    for element in elements:
        if element.tag in FRAME_TAGS and element.attr('src') is not None:
            lines += frame_records(element, path, url, depth, seen)
    return lines


def frame_records(element, path, page_url, depth, seen):
    src = element.attr('src')
    frame_url = urllib.parse.urljoin(page_url, src)
    head = ['frame', token('url', frame_url)]
    if element.attr('name') is not None:
        head.append(token('name', element.attr('name')))
    page, frame = urllib.parse.urlsplit(page_url), urllib.parse.urlsplit(frame_url)
    if (page.scheme, page.netloc) != (frame.scheme, frame.netloc):
        return [' '.join(head + ['denied']), 'end']
    body = []
    local = os.path.join(os.path.dirname(path), urllib.parse.unquote(urllib.parse.urlsplit(src).path))
    if depth < MAX_FRAME_DEPTH and os.path.isfile(local) and os.path.abspath(local) not in seen:
        body = ['  ' + line for line in convert(local, frame_url, depth + 1, seen)]
    return [' '.join(head)] + body + ['end']


def page_text(path, url):
    return '\n'.join(['quorin-page 1', f'# converted from {os.path.basename(path)}'] + convert(path, url)) + '\n'


def main():
    parser = argparse.ArgumentParser(description='Converts HTML pages into page descriptions.')
    parser.add_argument('--base-url', default='http://pages.quorin.test/')
    parser.add_argument('source')
    parser.add_argument('output')
    args = parser.parse_args()
    base = args.base_url if args.base_url.endswith('/') else args.base_url + '/'
    if os.path.isdir(args.source):
        os.makedirs(args.output, exist_ok=True)
        names = sorted(n for n in os.listdir(args.source) if n.lower().endswith(('.html', '.htm')))
        for name in names:
            text = page_text(os.path.join(args.source, name), urllib.parse.urljoin(base, urllib.parse.quote(name)))
            with open(os.path.join(args.output, os.path.splitext(name)[0] + '.page'), 'w', encoding='utf-8') as f:
                f.write(text)
        print(f'html2page: {len(names)} pages into {args.output}', file=sys.stderr)
        return
    name = os.path.basename(args.source)
    text = page_text(args.source, urllib.parse.urljoin(base, urllib.parse.quote(name)))
    if args.output == '-':
        sys.stdout.write(text)
    else:
        with open(args.output, 'w', encoding='utf-8') as f:
            f.write(text)


if __name__ == '__main__':
    main()
