#!/usr/bin/env python3
"""reproducible-zip.py ZIP EPOCH: rewrites ZIP so that the same files give
the same bytes: entries in name order, each dated EPOCH (seconds since
1970, UTC), keeping only its Unix permissions, with no extra fields (where
zip tools keep the files' access and change times)."""
import sys
import time
import zipfile


def main(path, epoch):
    date_time = time.gmtime(int(epoch))[:6]
    with zipfile.ZipFile(path) as source:
        entries = [(info, source.read(info)) for info in source.infolist()]
    with zipfile.ZipFile(path, "w") as target:
        for info, data in sorted(entries, key=lambda entry: entry[0].filename):
            kept = zipfile.ZipInfo(info.filename, date_time)
            kept.create_system = 3  # Unix, so the permissions mean what they say
            kept.external_attr = info.external_attr
            kept.compress_type = zipfile.ZIP_DEFLATED
            target.writestr(kept, data, compresslevel=9)


if __name__ == "__main__":
    main(*sys.argv[1:])
