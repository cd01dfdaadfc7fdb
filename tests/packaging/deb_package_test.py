#!/usr/bin/env python3
"""The .deb that CPack makes installs into a scratch root and runs from there.

    deb_package_test.py ZUS

ZUS is build/bin/zus of the build tree to package. The test runs cpack in a
scratch folder, unpacks the package into a scratch root (dpkg-deb -x, as
dpkg --root would), then starts usr/bin/zus there: through the link it must
find io.zux beside the real program. It also checks the package's name, the
man page, the module authors' header and that pkg-config finds that header.
Exit code 77 (skipped) where cpack or dpkg-deb is missing.
"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile

SKIP = 77
SCRIPT = b"""Import io.zux;
Object f : TFile;
f.Open("written.txt", 1);
f.WriteString("from the package");
f.Close();
Print "ran " + argv[1] + "\\r\\n";
result = 3;
"""


def run(args, **kw):
    return subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=240,
                          stdin=subprocess.DEVNULL, **kw)


def main():
    if sys.argv[1].endswith(".exe"):
        print("skipped: the .deb package is the Linux build's; Windows users copy zus.exe and io.zux")
        return 77
    zus = os.path.abspath(sys.argv[1])
    build = os.path.dirname(os.path.dirname(zus))
    config = os.path.join(build, "CPackConfig.cmake")
    cpack, dpkg_deb = shutil.which("cpack"), shutil.which("dpkg-deb")
    if not cpack or not dpkg_deb or not os.path.exists(config):
        print("skipped: needs cpack, dpkg-deb and %s" % config)
        return SKIP
    problems = []
    with tempfile.TemporaryDirectory(prefix="zus-deb-") as tmp:
        out = os.path.join(tmp, "out")
        proc = run([cpack, "-G", "DEB", "--config", config, "-B", out])
        debs = glob.glob(os.path.join(out, "*.deb"))
        if proc.returncode != 0 or len(debs) != 1:
            print("cpack failed (%d):\n%s%s" % (proc.returncode, proc.stdout.decode(errors="replace"),
                                                proc.stderr.decode(errors="replace")))
            return 1
        deb = debs[0]
        fields = run([dpkg_deb, "-f", deb, "Package", "Version"]).stdout.decode()
        if "Package: zuscript" not in fields or "Version: 2.10" not in fields:
            problems.append("package fields: %r" % fields)

        root = os.path.join(tmp, "root")
        proc = run([dpkg_deb, "-x", deb, root])
        if proc.returncode != 0:
            problems.append("dpkg-deb -x: %s" % proc.stderr.decode(errors="replace"))
        usr = os.path.join(root, "usr")
        link = os.path.join(usr, "bin", "zus")
        if not os.path.islink(link) or os.path.isabs(os.readlink(link)):
            problems.append("usr/bin/zus is no relative link")
        program_dir = os.path.dirname(os.path.realpath(link))
        for name in ("zus", "io.zux"):
            if not os.path.isfile(os.path.join(program_dir, name)):
                problems.append("%s missing beside the program" % name)
        for rel in ("share/man/man1/zus.1", "include/zuscriptx.h",
                    "share/doc/zuscript/language.md", "share/doc/zuscript/modules.md"):
            if not os.path.isfile(os.path.join(usr, rel)):
                problems.append("usr/%s missing" % rel)

        work = os.path.join(tmp, "work")
        os.mkdir(work)
        with open(os.path.join(work, "pkg.zus"), "wb") as f:
            f.write(SCRIPT)
        env = dict(os.environ, HOME=tmp, XDG_DATA_HOME=tmp)
        proc = run([link, "-q", "pkg.zus", "here"], cwd=work, env=env)
        if proc.returncode != 3 or proc.stdout != b"ran here\r\n":
            problems.append("installed zus: exit %d, output %r %r"
                            % (proc.returncode, proc.stdout, proc.stderr))
        written = os.path.join(work, "written.txt")
        if not os.path.exists(written) or open(written, "rb").read() != b"from the package":
            problems.append("io.zux did not write the file")

        pkg_config = shutil.which("pkg-config")
        pcs = glob.glob(os.path.join(usr, "lib", "**", "zuscriptx.pc"), recursive=True)
        if len(pcs) != 1:
            problems.append("zuscriptx.pc: %r" % pcs)
        elif pkg_config:
            env = dict(os.environ, PKG_CONFIG_PATH=os.path.dirname(pcs[0]))
            flags = run([pkg_config, "--cflags", "zuscriptx"], env=env).stdout.decode().split()
            dirs = [os.path.normpath(f[2:]) for f in flags if f.startswith("-I")]
            if not any(os.path.isfile(os.path.join(d, "zuscriptx.h")) for d in dirs):
                problems.append("pkg-config --cflags zuscriptx: %r" % flags)
    if problems:
        print("\n".join(problems))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
