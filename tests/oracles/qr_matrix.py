#!/usr/bin/python3
"""Prints the module matrix python3-segno builds, one row of 0/1 per line.

Usage: qr_matrix.py DATAFILE MODE VERSION LEVEL MASK
MODE is 0 (numeric), A (alphanumeric) or 8 (bytes); LEVEL is L, M, Q or H.
"""
import sys

import segno
import segno.encoder

# segno 1.4.1 (Debian 12) adds a whole zero codeword when the stream already
# ends on a codeword boundary; ISO/IEC 18004 7.4.10 adds padding bits only to
# reach that boundary. Everything else of segno's encoder stays as it is.
def _write_padding_bits(buff, version, length):
    if version not in (segno.consts.VERSION_M1, segno.consts.VERSION_M3):
        buff.extend([0] * ((8 - length % 8) % 8))


segno.encoder.write_padding_bits = _write_padding_bits

data_file, mode, version, level, mask = sys.argv[1:6]
with open(data_file, 'rb') as f:
    data = f.read()
segno_mode = {'0': 'numeric', 'A': 'alphanumeric', '8': 'byte'}[mode]
content = data if mode == '8' else data.decode('ascii')
qr = segno.make_qr(content, mode=segno_mode, version=int(version), error=level.lower(),
                   mask=int(mask), boost_error=False)
for row in qr.matrix:
    print(''.join('1' if cell else '0' for cell in row))
