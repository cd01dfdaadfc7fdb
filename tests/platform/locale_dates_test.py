#!/usr/bin/env python3
"""Dates, numbers and names under real locales, generated here with localedef.

    locale_dates_test.py ZUS

Every other test runs under the C locale. This one builds a day-first locale
with a 24-hour clock and "." between the date's numbers (de_DE), day-first
ones with "/" (en_GB, fr_FR) and Cyrillic names (ru_RU), a multi-byte one
whose date marks do not fit in one byte (ja_JP), a month-first 12-hour one
(en_US) and a single-byte charset (de_DE.ISO-8859-1), and runs one script
under each: a date written as text must read back as the same date, a text
in the locale's own order must read as that date, and the locale's
separators, formats, names and decimal separator must show.
"""
import concurrent.futures
import os
import shutil
import subprocess
import sys
import tempfile

SCRIPT = rb"""
Func Show(d) {
  t = Str(d);
  result = t + " back=" + Str(AsDateTime(t) == d);
}
Print Show(AsDateTime(46056.25)) + "\n";
Print Show(AsDateTime(46362.75)) + "\n";
Print Show(AsDateTime(46056)) + " | " + Show(AsDateTime(0.5)) + "\n";
Print FormatDateTime("dddddd | t | mmmm ddd | c", AsDateTime(46056.75)) + "\n";
s = FormatDateTime("d/m/yyyy", 46056);
Print s + " -> " + Str(Int(AsDateTime(s))) + "; 1.5 -> " + Str(3 / 2) + "; Num -> ";
Print Str(Num("2" + Str(0.5 + 0.25) + "0")) + "; " + StrUpper(argv[1]) + "\n";
"""

# (locale, charset, expected output lines). Case mapping
# changes "ä" only under a single-byte charset. The day counts: 46056.25 is
# 3 February 2026 06:00 (day and month both below 13), 46362.75 is
# 6 December 2026 18:00; 46056 is that day's date only, 0.5 a time only.
CASES = [
    ("de_DE", "UTF-8", [
        "03.02.2026 06:00:00 back=true",
        "06.12.2026 18:00:00 back=true",
        "03.02.2026 back=true | 12:00:00 back=true",
        "Dienstag, 3. Februar 2026 | 18:00 | Februar Di | 03.02.2026 18:00:00",
        "3.2.2026 -> 46056; 1.5 -> 1,5; Num -> 20,75; äöX",
    ]),
    ("en_GB", "UTF-8", [
        "03/02/2026 06:00:00 back=true",
        "06/12/2026 18:00:00 back=true",
        "03/02/2026 back=true | 12:00:00 back=true",
        "Tuesday, 3 February 2026 | 18:00 | February Tue | 03/02/2026 18:00:00",
        "3/2/2026 -> 46056; 1.5 -> 1.5; Num -> 20.75; äöX",
    ]),
    ("fr_FR", "UTF-8", [
        "03/02/2026 06:00:00 back=true",
        "06/12/2026 18:00:00 back=true",
        "03/02/2026 back=true | 12:00:00 back=true",
        "mardi, 3 février 2026 | 18:00 | février mar. | 03/02/2026 18:00:00",
        "3/2/2026 -> 46056; 1.5 -> 1,5; Num -> 20,75; äöX",
    ]),
    ("ru_RU", "UTF-8", [
        "03.02.2026 06:00:00 back=true",
        "06.12.2026 18:00:00 back=true",
        "03.02.2026 back=true | 12:00:00 back=true",
        "Вторник, 3. февраля 2026 | 18:00 | февраля Вт | 03.02.2026 18:00:00",
        "3.2.2026 -> 46056; 1.5 -> 1,5; Num -> 20,75; äöX",
    ]),
    ("ja_JP", "UTF-8", [
        "2026/02/03 06:00:00 back=true",
        "2026/12/06 18:00:00 back=true",
        "2026/02/03 back=true | 12:00:00 back=true",
        "2026 2月 3, 火曜日 | 18:00 | 2月 火 | 2026/02/03 18:00:00",
        "3/2/2026 -> 46083; 1.5 -> 1.5; Num -> 20.75; äöX",
    ]),
    ("en_US", "UTF-8", [
        "2/3/2026 6:00:00 AM back=true",
        "12/6/2026 6:00:00 PM back=true",
        "2/3/2026 back=true | 12:00:00 PM back=true",
        "Tuesday, February 3, 2026 | 6:00 PM | February Tue | 2/3/2026 6:00:00 PM",
        "3/2/2026 -> 46083; 1.5 -> 1.5; Num -> 20.75; äöX",
    ]),
    ("de_DE", "ISO-8859-1", [
        "03.02.2026 06:00:00 back=true",
        "06.12.2026 18:00:00 back=true",
        "03.02.2026 back=true | 12:00:00 back=true",
        "Dienstag, 3. Februar 2026 | 18:00 | Februar Di | 03.02.2026 18:00:00",
        "3.2.2026 -> 46056; 1.5 -> 1,5; Num -> 20,75; ÄÖX",
    ]),
]


def make_locale(folder, name, charset):
    target = os.path.join(folder, "%s.%s" % (name, charset))
    proc = subprocess.run(["localedef", "-i", name, "-f", charset, target],
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=240)
    # localedef warns about harmless things with status 1; the files count.
    return os.path.isfile(os.path.join(target, "LC_TIME")) or proc.returncode == 0


def main():
    if sys.argv[1].endswith(".exe"):
        print("skipped: the locales are generated with localedef; Windows takes its formats from GetLocaleInfoA")
        return 77
    zus = os.path.abspath(sys.argv[1])
    if shutil.which("localedef") is None or not os.path.isdir("/usr/share/i18n/locales"):
        print("skipped: localedef or the locale sources are missing")
        return 0
    problems = []
    with tempfile.TemporaryDirectory(prefix="zus-locales-") as tmp:
        with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
            made = list(pool.map(lambda c: make_locale(tmp, c[0], c[1]), CASES))
        script = os.path.join(tmp, "dates.zus")
        with open(script, "wb") as f:
            f.write(SCRIPT)
        # glibc's newlocale keeps the list it makes of LOCPATH (a sanitizer
        # build would report it as a leak of ours); GCC's and clang's
        # symbolizers name the function with and without the underscores.
        suppressions = os.path.join(tmp, "lsan.supp")
        with open(suppressions, "w") as f:
            f.write("".join("leak:%s\n" % name for name in (
                "__argz_add_sep", "__argz_create_sep", "argz_add_sep", "argz_create_sep")))
        for (name, charset, expected), ok in zip(CASES, made):
            locale = "%s.%s" % (name, charset)
            if not ok:
                problems.append("%s: localedef failed" % locale)
                continue
            env = dict(os.environ, LOCPATH=tmp, LANG=locale, LC_ALL=locale,
                       LSAN_OPTIONS="suppressions=" + suppressions)
            proc = subprocess.run([zus, "-q", script, "äöx".encode(charset)], env=env,
                                  stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
            lines = proc.stdout.decode(charset, "replace").split("\n")
            if proc.returncode != 0 or len(lines) != 6:
                problems.append("%s: exit %d, output %r" % (locale, proc.returncode, proc.stdout))
                continue
            for got in lines[:3]:
                if not got.endswith("back=true"):
                    problems.append("%s: does not read back: %r" % (locale, got))
            for got, want in zip(lines, expected):
                if got != want:
                    problems.append("%s: %r, expected %r" % (locale, got, want))
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
