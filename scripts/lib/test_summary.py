#!/usr/bin/env python3
"""One summary line per test program, program file and prefix, read from GoogleTest's and ctest's own output.

  test_summary.py program TAG WHERE LOG EXIT_CODE   one GoogleTest program's output and exit code
  test_summary.py ctest TAG WHERE JUNIT_XML [--strict]
                                                    every test of a ctest run (its --output-junit file)

Each line reads "TAG: <program> WHERE: N passed, N failed, N skipped", with the reason of every skip. A program
passes only with exit code 0, a run that finished (output with GoogleTest's "Running" line must reach its summary),
at least one test passed, none failed, and a reason for every skip. A ctest test skipped as a whole (its script's
skip code) is named with its reason; --strict fails it too, for a machine prepared so that every test can run. Exits 1 when anything did not pass.
"""
import re
import sys
from xml.etree import ElementTree

RUNNING = re.compile(r'^\[==========\] Running \d+ tests? from ')
RAN = re.compile(r'^\[==========\] (\d+) tests? from \d+ test suites? ran')
PASSED = re.compile(r'^\[  PASSED  \] (\d+) tests?\.')
FAILED = re.compile(r'^\[  FAILED  \] (\d+) tests?, listed below')
SKIPPED = re.compile(r'^\[  SKIPPED \] (\d+) tests?, listed below')
RUN = re.compile(r'^\[ RUN      \] (\S+)')
SKIPPED_ONE = re.compile(r'^\[  SKIPPED \] (\S+) \(')
# A script's own word on why it skipped the whole test ("skipped: ...").
SCRIPT_SKIP = re.compile(r'^skipped: (.+)$')


def skip_reasons(lines):
    """{reason: [test, ...]} from each skipped test's message, between its RUN line and its SKIPPED line."""
    reasons = {}
    current, message, in_message = None, [], False
    for line in lines:
        run = RUN.match(line)
        if run:
            current, message, in_message = run.group(1), [], False
            continue
        one = SKIPPED_ONE.match(line)
        if one and one.group(1) == current:
            reason = ' '.join(part.strip() for part in message if part.strip())
            reasons.setdefault(reason, []).append(current)
            current = None
            continue
        if current is None:
            continue
        if in_message:
            message.append(line)
        elif line.rstrip().endswith(': Skipped') or line.rstrip().endswith(') Skipped'):
            in_message = True
    return reasons


def named(tests):
    suites = sorted({test.split('.')[0] for test in tests})
    if len(tests) <= 2:
        return ', '.join(tests)
    return ', '.join(suite + '.*' for suite in suites) + f' ({len(tests)} tests)'


def gtest_verdict(lines, exit_code):
    """(passes, text) for one GoogleTest program's output."""
    counts = {'ran': None, 'passed': 0, 'failed': 0, 'skipped': 0}
    for line in lines:
        for key, pattern in (('ran', RAN), ('passed', PASSED), ('failed', FAILED), ('skipped', SKIPPED)):
            match = pattern.match(line)
            if match:
                counts[key] = int(match.group(1))
    if counts['ran'] is None:
        return False, f'did not finish (exit code {exit_code})'
    text = f"{counts['passed']} passed, {counts['failed']} failed, {counts['skipped']} skipped"
    reasons = skip_reasons(lines)
    notes = [f'skipped {named(tests)}: {reason or "NO REASON GIVEN"}' for reason, tests in reasons.items()]
    passes = (str(exit_code) == '0' and counts['passed'] > 0 and counts['failed'] == 0
              and '' not in reasons and sum(map(len, reasons.values())) == counts['skipped'])
    if notes:
        text += ' (' + '; '.join(notes) + ')'
    if str(exit_code) != '0':
        text += f' (exit code {exit_code})'
    return passes, text


def program(tag, where, log, exit_code):
    try:
        with open(log, encoding='utf-8', errors='replace') as file:
            lines = file.read().splitlines()
    except OSError:
        lines = []
    name = re.sub(r'\.log$', '', log.rsplit('/', 1)[-1])
    passes, text = gtest_verdict(lines, exit_code)
    print(f'{tag}: {name} {where}: {text}' + ('' if passes else ' FAILED'))
    return passes


def ctest(tag, where, junit, strict):
    """Every test of a ctest run, from its JUnit file (--output-junit), which keeps each test's output and status."""
    try:
        cases = ElementTree.parse(junit).getroot().iter('testcase')
    except (OSError, ElementTree.ParseError) as error:
        print(f'{tag}: no ctest results in {junit} ({error}) FAILED')
        return False
    all_pass, count = True, 0
    for case in cases:
        count += 1
        name, status = case.get('name'), case.get('status')
        lines = (case.findtext('system-out') or '').splitlines()
        if status == 'notrun':
            reasons = [match.group(1) for match in map(SCRIPT_SKIP.match, lines) if match]
            passes = bool(reasons) and not strict
            print(f'{tag}: {name} {where}: skipped as a whole: {reasons[0] if reasons else "NO REASON GIVEN"}'
                  + ('' if passes else ' FAILED'))
        elif any(RUNNING.match(line) for line in lines):   # a GoogleTest program: it must reach its summary
            passes, text = gtest_verdict(lines, 0 if status == 'run' else 1)
            print(f'{tag}: {name} {where}: {text}' + ('' if passes else ' FAILED'))
        else:   # a plain check, not a GoogleTest program: its exit code is its result
            passes = status == 'run'
            print(f'{tag}: {name} {where}: {int(passes)} passed, {int(not passes)} failed, 0 skipped')
        all_pass = all_pass and passes
    if not count:
        print(f'{tag}: ctest ran no test ({junit}) FAILED')
    return all_pass and count > 0


def main(argv):
    if len(argv) == 6 and argv[1] == 'program':
        return 0 if program(*argv[2:]) else 1
    if len(argv) in (5, 6) and argv[1] == 'ctest' and argv[5:] in ([], ['--strict']):
        return 0 if ctest(argv[2], argv[3], argv[4], len(argv) == 6) else 1
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == '__main__':
    sys.exit(main(sys.argv))
