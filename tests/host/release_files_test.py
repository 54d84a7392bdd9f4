#!/usr/bin/env python3
"""packaging/release-files.py: the release files carry the commit's time and nothing of the
machine, the folder or the moment that built them."""
import os
import subprocess
import sys
import tempfile
import unittest
import zipfile

SCRIPT = os.path.join(os.path.dirname(__file__), "..", "..", "packaging", "release-files.py")
COMMIT = 1796738602  # 2026-12-08 14:03:22 UTC


def run(*arguments, **environment):
    env = {k: v for k, v in os.environ.items() if k not in ("SOURCE_DATE_EPOCH", "GIT_DIR")}
    env.update(environment)
    return subprocess.run([sys.executable, SCRIPT, *arguments], env=env, check=True,
                          capture_output=True, text=True)


class ReleaseFilesTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.dir = self.folder.name
        self.time_file = self.path("commit-time.txt")
        with open(self.time_file, "w") as f:
            f.write(f"{COMMIT}\n")

    def tearDown(self):
        self.folder.cleanup()

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, data, mode, mtime):
        with open(self.path(name), "wb") as f:
            f.write(data)
        os.chmod(self.path(name), mode)
        os.utime(self.path(name), (mtime, mtime))
        return self.path(name)

    def test_zips_of_the_same_files_are_identical_whatever_the_zone_mode_and_file_times(self):
        zips = []
        for zone, mode, mtime in (("UTC", 0o644, 1e9), ("Pacific/Kiritimati", 0o755, 2e9),
                                  ("America/Adak", 0o600, 1)):
            sub = tempfile.mkdtemp(dir=self.dir)
            exe = self.write(os.path.join(sub, "Vindelor.exe"), b"MZ" * 5000, mode, mtime)
            readme = self.write(os.path.join(sub, "ReadMe.txt"), b"Hello\r\n", mode, mtime)
            zips.append(self.path(f"{zone.replace('/', '-')}.zip"))
            run("zip", self.time_file, zips[-1], exe, readme, TZ=zone)
        with open(zips[0], "rb") as f:
            first = f.read()
        for other in zips[1:]:
            with open(other, "rb") as f:
                self.assertEqual(f.read(), first, other)
        with zipfile.ZipFile(zips[0]) as archive:
            entries = archive.infolist()
            self.assertEqual([e.filename for e in entries], ["Vindelor.exe", "ReadMe.txt"])
            self.assertEqual(archive.read("Vindelor.exe"), b"MZ" * 5000)
            for entry in entries:
                self.assertEqual(entry.date_time, (2026, 12, 8, 14, 3, 22))
                self.assertEqual((entry.create_system, entry.external_attr), (0, 0x20))
                self.assertEqual(entry.compress_type, zipfile.ZIP_DEFLATED)
        self.assertEqual(sorted(os.listdir(self.dir)).count("UTC.zip.part"), 0)

    def test_a_time_before_1980_gives_the_earliest_zip_time(self):
        with open(self.time_file, "w") as f:
            f.write("0\n")
        readme = self.write("ReadMe.txt", b"x", 0o644, 5)
        run("zip", self.time_file, self.path("early.zip"), readme)
        with zipfile.ZipFile(self.path("early.zip")) as archive:
            self.assertEqual(archive.infolist()[0].date_time, (1980, 1, 1, 0, 0, 0))

    def test_stamp_gives_the_files_the_commit_time(self):
        files = [self.write(name, b"x", 0o644, 12345) for name in ("a.exe", "b.txt")]
        run("stamp", self.time_file, *files)
        self.assertEqual([os.stat(f).st_mtime for f in files], [COMMIT, COMMIT])

    def commit_time(self, source, **environment):
        out = self.path("out.txt")
        run("commit-time", source, out, **environment)
        with open(out) as f:
            return f.read()

    def test_the_commit_time_comes_from_the_environment_then_git_then_a_fixed_fallback(self):
        repo = self.path("repo")
        git_env = {"GIT_AUTHOR_NAME": "t", "GIT_AUTHOR_EMAIL": "t@example.org",
                   "GIT_COMMITTER_NAME": "t", "GIT_COMMITTER_EMAIL": "t@example.org",
                   "GIT_AUTHOR_DATE": "@1700000000 +0000",
                   "GIT_COMMITTER_DATE": "@1700000123 +0900"}
        subprocess.run(["git", "init", "-q", repo], check=True)
        subprocess.run(["git", "-C", repo, "commit", "-q", "--allow-empty", "-m", "first"],
                       check=True, env={**os.environ, **git_env})
        not_a_repo = tempfile.mkdtemp(dir=self.dir)
        for source, environment, expected in (
                (repo, {}, "1700000123\n"),  # the committer's time, not the author's
                (repo, {"SOURCE_DATE_EPOCH": "1600000000"}, "1600000000\n"),
                (not_a_repo, {"GIT_CEILING_DIRECTORIES": self.dir}, "315532800\n")):
            self.assertEqual(self.commit_time(source, **environment), expected, source)

    def test_the_time_file_is_rewritten_only_when_the_time_changes(self):
        out = self.path("out.txt")
        run("commit-time", self.dir, out, SOURCE_DATE_EPOCH="1600000000")
        os.utime(out, (1000, 1000))
        run("commit-time", self.dir, out, SOURCE_DATE_EPOCH="1600000000")
        self.assertEqual(os.stat(out).st_mtime, 1000)  # unchanged: nothing rebuilds
        run("commit-time", self.dir, out, SOURCE_DATE_EPOCH="1600000001")
        self.assertNotEqual(os.stat(out).st_mtime, 1000)

    def test_a_wrong_call_changes_nothing_and_fails(self):
        result = subprocess.run([sys.executable, SCRIPT, "zip", self.time_file],
                                capture_output=True)
        self.assertEqual(result.returncode, 2)
        self.assertEqual(os.listdir(self.dir), ["commit-time.txt"])


if __name__ == "__main__":
    unittest.main()
