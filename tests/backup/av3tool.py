#!/usr/bin/python3
"""An independent reader and writer of backup archives (.av3), written from the
format description alone, to prove that our archives and the ones other
writers make agree.

    av3tool.py list ARCHIVE          one line per entry: name, size, SHA-256
    av3tool.py extract ARCHIVE DIR   writes every entry into DIR
    av3tool.py write ARCHIVE DIR     packs every non-empty file of DIR (sorted)

Format: int32 LE file count; per entry int32 LE name length, the name in
Windows-1250, int32 LE size before compression, then one zlib stream whose
length is not stored. Exit status 0 on success, 1 with a reason on stderr.
"""
import hashlib
import os
import struct
import sys
import zlib


def read_entries(path):
    with open(path, 'rb') as f:
        data = f.read()
    pos = 0

    def int32():
        nonlocal pos
        if pos + 4 > len(data):
            raise ValueError('truncated at byte %d' % pos)
        (value,) = struct.unpack_from('<i', data, pos)
        pos += 4
        return value

    count = int32()
    if count < 0:
        raise ValueError('negative count')
    for _ in range(count):
        length = int32()
        if length <= 0 or pos + length > len(data):
            raise ValueError('bad name length %d' % length)
        name = data[pos:pos + length].decode('cp1250')
        pos += length
        size = int32()
        inflater = zlib.decompressobj()
        content = inflater.decompress(data[pos:])
        if not inflater.eof:
            raise ValueError('stream of %s does not end' % name)
        if len(content) != size:
            raise ValueError('%s: %d bytes, %d declared' % (name, len(content), size))
        pos = len(data) - len(inflater.unused_data)
        yield name, content
    if pos != len(data):
        raise ValueError('%d bytes after the last entry' % (len(data) - pos))


def write_archive(path, folder):
    names = sorted(n for n in os.listdir(folder)
                   if os.path.isfile(os.path.join(folder, n)) and os.path.getsize(os.path.join(folder, n)) > 0)
    out = [struct.pack('<i', len(names))]
    for name in names:
        with open(os.path.join(folder, name), 'rb') as f:
            content = f.read()
        encoded = name.encode('cp1250')
        out.append(struct.pack('<i', len(encoded)) + encoded + struct.pack('<i', len(content)))
        out.append(zlib.compress(content, 9))
    with open(path, 'wb') as f:
        f.write(b''.join(out))


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 1
    command, archive = argv[1], argv[2]
    try:
        if command == 'list':
            for name, content in read_entries(archive):
                print('%s\t%d\t%s' % (name, len(content), hashlib.sha256(content).hexdigest()))
        elif command == 'extract':
            for name, content in read_entries(archive):
                with open(os.path.join(argv[3], name), 'wb') as f:
                    f.write(content)
        elif command == 'write':
            write_archive(archive, argv[3])
        else:
            raise ValueError('unknown command ' + command)
    except (ValueError, OSError, zlib.error, UnicodeError) as problem:
        print(problem, file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
