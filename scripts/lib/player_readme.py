#!/usr/bin/env python3
"""The players' README.txt of the release zips, made from the "For players" part of README.md, and the check that a
README.txt says the same words as that part.

  player_readme.py render README.md VERSION ARCH > README.txt
  player_readme.py check README.md VERSION ARCH README.txt

The part is Markdown of a small kind that reads the same as plain text: paragraphs, "###" and "####" headings, flat
"- " and "1. " lists, code indented by four spaces, **bold**, *emphasis* and `code`. Anything else (links, images, tables, HTML)
would not survive as plain text, so it stops the render instead. `<version>` becomes the version and `<arch>` the
zip's architecture (x86 or x64), so each zip's readme names its own zip. The text comes out
wrapped for Notepad, ASCII only, with CR LF line ends.
"""
import re
import sys
import textwrap

WIDTH = 78
NUMBERED = re.compile(r"\d+\. ")
PART_HEADING = "## For players"


class ReadmeError(Exception):
    pass


def player_part(markdown_path):
    lines = open(markdown_path, encoding="utf-8").read().splitlines()
    try:
        start = lines.index(PART_HEADING) + 1
    except ValueError:
        raise ReadmeError(f"{markdown_path}: no line '{PART_HEADING}'")
    end = next((i for i in range(start, len(lines)) if lines[i].startswith("## ")), len(lines))
    return [(number + 1, lines[number]) for number in range(start, end)]


def plain_inline(text, where):
    """Markdown inline text to plain text: code spans stay as they are, emphasis marks go."""
    pieces = text.split("`")
    if len(pieces) % 2 == 0:
        raise ReadmeError(f"{where}: a code span is not closed")
    out = []
    for index, piece in enumerate(pieces):
        if index % 2 == 0:
            for pattern, what in (("![", "an image"), ("](", "a link"), ("http://", "a link"), ("https://", "a link"),
                                  ("<", "HTML"), ("\\", "a backslash outside a code span")):
                if pattern in piece:
                    raise ReadmeError(f"{where}: {what} does not read as plain text")
            piece = piece.replace("**", "").replace("*", "")
        out.append(piece)
    return "".join(out)


def blocks(numbered_lines):
    """Groups the lines into blocks separated by blank lines; a heading is a block of its own."""
    block = []
    for number, line in numbered_lines:
        if line.startswith("#"):
            if block:
                yield block
            yield [(number, line)]
            block = []
        elif line.strip():
            block.append((number, line))
        elif block:
            yield block
            block = []
    if block:
        yield block


def wrapped(text, indent, first_indent=None):
    first = " " * indent if first_indent is None else first_indent
    return textwrap.wrap(text, WIDTH, initial_indent=first, subsequent_indent=" " * indent,
                         break_long_words=False, break_on_hyphens=False)


def filled(text, version, arch):
    return text.replace("<version>", version).replace("<arch>", arch)


def render(markdown_path, version, arch):
    title = f"Vantorin Kelvane {version}"
    out = [title, "=" * len(title)]
    indent = 0   # the body under a "####" heading is indented
    for block in blocks(player_part(markdown_path)):
        number, first = block[0]
        where = f"{markdown_path}:{number}"
        text_lines = [line for _, line in block]
        out.append("")
        if first.startswith(("```", "|")):
            raise ReadmeError(f"{where}: fenced code and tables do not render; indent code by four")
        if first.startswith("#") and not first.startswith(("### ", "#### ")):
            raise ReadmeError(f"{where}: only '###' and '####' headings render")
        if first.startswith("#"):
            level, heading = first.split(" ", 1)
            heading = plain_inline(heading, where)
            if level == "###":
                out += [heading, "-" * len(heading)]
                indent = 0
            else:
                out.append(heading)
                indent = 4
        elif all(line.startswith("    ") for line in text_lines):
            for line in text_lines:
                out.append(" " * (indent + 4) + line[4:].rstrip())
        elif first.startswith("- "):
            items = []
            for number, line in block:
                if line.startswith("- "):
                    items.append([line[2:].strip()])
                elif line.startswith("  ") and not line.lstrip().startswith("- "):
                    items[-1].append(line.strip())
                else:
                    raise ReadmeError(f"{markdown_path}:{number}: only flat lists render")
            for item in items:
                out += wrapped(plain_inline(" ".join(item), where), indent + 2, " " * indent + "- ")
        elif NUMBERED.match(first):
            items = []
            for number, line in block:
                if NUMBERED.match(line):
                    marker, rest = line.split(" ", 1)
                    items.append((marker + " ", [rest.strip()]))
                elif line.startswith("   ") and not NUMBERED.match(line.lstrip()):
                    items[-1][1].append(line.strip())
                else:
                    raise ReadmeError(f"{markdown_path}:{number}: only flat numbered lists render")
            for marker, item in items:
                out += wrapped(plain_inline(" ".join(item), where), indent + len(marker), " " * indent + marker)
        else:
            if any(line.lstrip().startswith(("- ", "#", "|")) or NUMBERED.match(line) for line in text_lines[1:]):
                raise ReadmeError(f"{where}: a list, heading or table needs a blank line before it")
            out += wrapped(plain_inline(" ".join(line.strip() for line in text_lines), where), indent)
    text = filled("\r\n".join(out), version, arch) + "\r\n"
    problems(text, "the rendered readme")
    return text


def problems(text, name):
    """Raises when the text is not one that Notepad shows well."""
    if not text.isascii():
        raise ReadmeError(f"{name}: not ASCII")
    if "\n" in text.replace("\r\n", "") or "\r" in text.replace("\r\n", ""):
        raise ReadmeError(f"{name}: a line end other than CR LF")
    for number, line in enumerate(text.split("\r\n"), 1):
        if len(line) > WIDTH:
            raise ReadmeError(f"{name}:{number}: {len(line)} columns, more than {WIDTH}")


def words(text):
    """The words, without the marks of either form: emphasis, list dashes, heading hashes and underlines."""
    text = text.replace("*", "").replace("`", "")
    return [word for word in text.split() if not re.fullmatch(r"#+|-+|=+", word)]


def check(markdown_path, version, arch, readme_path):
    data = open(readme_path, "rb").read()
    try:
        text = data.decode("ascii")
    except UnicodeDecodeError:
        raise ReadmeError(f"{readme_path}: not ASCII")
    problems(text, readme_path)
    source = f"Vantorin Kelvane {version}\n" + "\n".join(line for _, line in player_part(markdown_path))
    want, have = words(filled(source, version, arch)), words(text)
    if want != have:
        at = next((i for i, (a, b) in enumerate(zip(want, have)) if a != b), min(len(want), len(have)))
        raise ReadmeError(f"{readme_path} and the player part of {markdown_path} differ at word {at + 1}:\n"
                          f"  {markdown_path}: ... {' '.join(want[max(0, at - 6):at + 6])}\n"
                          f"  {readme_path}: ... {' '.join(have[max(0, at - 6):at + 6])}")


def main(argv):
    try:
        if len(argv) == 5 and argv[1] == "render":
            sys.stdout.buffer.write(render(argv[2], argv[3], argv[4]).encode("ascii"))
        elif len(argv) == 6 and argv[1] == "check":
            check(argv[2], argv[3], argv[4], argv[5])
        else:
            print(__doc__, file=sys.stderr)
            return 2
    except ReadmeError as error:
        print(f"player_readme: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
