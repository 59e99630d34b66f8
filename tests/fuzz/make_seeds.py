#!/usr/bin/python3
"""Writes the committed seed corpora of the fuzzers; runs from anywhere with Debian's
python3 and python3-pil. The program's own pictures in assets/ are seeds of the
decoder as well: the fuzz test takes them from there, they are not copied."""
import io
import os

from PIL import Image

here = os.path.dirname(os.path.abspath(__file__))


def write(folder, name, data):
    path = os.path.join(here, "corpus", folder)
    os.makedirs(path, exist_ok=True)
    with open(os.path.join(path, name), "wb") as f:
        f.write(data)


# Level texts as the level selector holds them, and the edges of the reader's grammar.
numbers = {f"level_{level}": str(level).encode() for level in range(10, 111, 10)}
numbers.update({
    "plus_20": b"+20", "minus_10": b"-10", "point_5": b".5", "fraction_20_0": b"20.0",
    "trailing_point": b"20.", "near_20": b"20.00000009", "exponent_d": b"2d1",
    "exponent_upper_d": b"2D-1", "exponent_e": b"2E+1", "exponent_no_digits": b"20e+",
    "exponent_d_no_digits": b"20d-x", "leading_spaces": b"  20", "leading_controls": b"\t\n\v\f\r20",
    "hex": b"0x14", "hex_float": b"-0x1.8p3", "overflow": b"1e400", "underflow": b"1e-400",
    "full_width_digits": b"\xA3\xB2\xA3\xB0", "ideographic_space": b"\xA1\xA1" b"20",
    "full_width_signed": b"\xA3\xAD\xA3\xB1\xA3\xAE\xA3\xB5\xA3\xE5\xA3\xB2",
    "full_width_d": b"\xA3\xB2\xA3\xC4\xA3\xB1", "other_pair": b"\xB5\xC8" b"20",
    "lone_lead": b"20\xB0", "minus_only": b"-", "point_only": b".", "sign_space": b"+ 20",
    "infinity": b"infinity", "nan": b"nan(123)", "level_with_word": b"20 \xBC\xB6",
    "two_points": b"1.2.3", "tilde_star": b"\xA1\xAB\xA1\xEE" b"20",
})
for name, data in numbers.items():
    write("text_to_number", name, data)


def jpeg(image, **options):
    out = io.BytesIO()
    image.save(out, "JPEG", **options)
    return out.getvalue()


# A small greyscale picture, the same cut off in its scan data, and a small
# progressive colour picture with subsampled chroma.
grey = Image.new("L", (24, 16))
grey.putdata([(x * 10 + y * 5) % 256 for y in range(16) for x in range(24)])
grey_data = jpeg(grey, quality=80)
write("decode_jpeg", "grey.jpg", grey_data)
write("decode_jpeg", "grey_truncated.jpg", grey_data[: len(grey_data) * 2 // 3])
colour = Image.new("RGB", (20, 12))
colour.putdata([(x * 12, y * 20, 128) for y in range(12) for x in range(20)])
progressive = jpeg(colour, quality=70, progressive=True, subsampling=2)
write("decode_jpeg", "progressive.jpg", progressive)

# The same progressive picture with a frame header that claims 60000 x 60000
# pixels: refused at once, without buffers of that size.
frame = progressive.index(b"\xFF\xC2")
huge = bytearray(progressive)
huge[frame + 5 : frame + 9] = (60000).to_bytes(2, "big") * 2  # height, width
write("decode_jpeg", "progressive_huge_frame.jpg", bytes(huge))
