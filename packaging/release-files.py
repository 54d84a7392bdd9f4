#!/usr/bin/env python3
"""The release files' time stamps, taken from the commit, so that two builds of one commit give
byte-identical packages wherever and whenever they run.

    release-files.py commit-time SOURCE_DIR TIME_FILE
        Writes the commit's time (seconds since 1970) to TIME_FILE: SOURCE_DATE_EPOCH when set,
        else the time of SOURCE_DIR's last commit. TIME_FILE is rewritten only when the time
        changes, so that an unchanged tree rebuilds nothing.
    release-files.py stamp TIME_FILE FILE...
        Sets the files' access and modification times to that time (makensis stores them).
    release-files.py zip TIME_FILE ZIP FILE...
        Writes ZIP holding the files under their own names, in that order, each with that time
        (in UTC) and the same attributes, whatever the files' times and modes on disk.
"""
import os
import subprocess
import sys
import time
import zipfile

# Zip times are MS-DOS times, which begin in 1980; a build outside git without
# SOURCE_DATE_EPOCH gets this stamp.
EARLIEST_ZIP_TIME = 315532800  # 1980-01-01 00:00:00 UTC


def commit_time(source_dir):
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        found = subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"],
                               capture_output=True, text=True, check=True).stdout.strip()
        return int(found)
    except (OSError, subprocess.CalledProcessError, ValueError):
        print(f"release-files.py: {source_dir} is not a git checkout and SOURCE_DATE_EPOCH is "
              "unset; the packages are stamped 1980-01-01", file=sys.stderr)
        return EARLIEST_ZIP_TIME


def read_time(time_file):
    with open(time_file) as f:
        return int(f.read())


def write_commit_time(source_dir, time_file):
    text = f"{commit_time(source_dir)}\n"
    try:
        with open(time_file) as f:
            if f.read() == text:
                return
    except OSError:
        pass
    with open(time_file, "w") as f:
        f.write(text)


def stamp(time_file, files):
    stamp_time = read_time(time_file)
    for name in files:
        os.utime(name, (stamp_time, stamp_time))


def write_zip(time_file, zip_path, files):
    date_time = time.gmtime(max(read_time(time_file), EARLIEST_ZIP_TIME))[:6]
    partial = zip_path + ".part"  # a failed run leaves no zip that looks finished
    with zipfile.ZipFile(partial, "w") as archive:
        for name in files:
            entry = zipfile.ZipInfo(os.path.basename(name), date_time)
            entry.create_system = 0  # MS-DOS attributes, as Windows' own zip folders write
            entry.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE: an ordinary file
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(name, "rb") as f:
                archive.writestr(entry, f.read(), compresslevel=9)
    os.replace(partial, zip_path)


def main(argv):
    command, arguments = (argv[1], argv[2:]) if len(argv) > 1 else ("", [])
    if command == "commit-time" and len(arguments) == 2:
        write_commit_time(*arguments)
    elif command == "stamp" and len(arguments) >= 2:
        stamp(arguments[0], arguments[1:])
    elif command == "zip" and len(arguments) >= 3:
        write_zip(arguments[0], arguments[1], arguments[2:])
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
