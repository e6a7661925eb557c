// A file's bytes as the text the editor shows, and the text typed there as
// bytes again: UTF-8 when the bytes are valid UTF-8, else Windows-1252,
// which KRL files written on a robot's controller mostly are. The table is
// our own: browsers and Node disagree on 0x80 to 0x9F, and the five bytes
// that Windows-1252 leaves unassigned must come back as they went in.

// The characters of the bytes 0x80 to 0x9F; the unassigned ones stand for
// themselves (U+0081, U+008D, U+008F, U+0090, U+009D).
const HIGH_CONTROLS = [
  0x20ac, 0x81, 0x201a, 0x192, 0x201e, 0x2026, 0x2020, 0x2021, 0x2c6, 0x2030, 0x160, 0x2039,
  0x152, 0x8d, 0x17d, 0x8f, 0x90, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014, 0x2dc,
  0x2122, 0x161, 0x203a, 0x153, 0x9d, 0x17e, 0x178,
];
const BYTE_OF = new Map(HIGH_CONTROLS.map((code, i) => [code, 0x80 + i]));

export const BYTE_ORDER_MARK = [0xef, 0xbb, 0xbf];

export function isUtf8(bytes) {
  try {
    new TextDecoder('utf-8', { fatal: true }).decode(bytes);
    return true;
  } catch {
    return false;
  }
}

export function hasByteOrderMark(bytes) {
  return BYTE_ORDER_MARK.every((b, i) => bytes[i] === b);
}

export function decodeWindows1252(bytes) {
  let text = '';
  for (let start = 0; start < bytes.length; start += 8192) {
    const codes = Array.from(bytes.subarray(start, start + 8192),
                             (b) => (b >= 0x80 && b < 0xa0 ? HIGH_CONTROLS[b - 0x80] : b));
    text += String.fromCharCode(...codes);
  }
  return text;
}

// A character that Windows-1252 lacks becomes "?", as Windows writes it.
export function encodeWindows1252(text) {
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) {
    const code = text.charCodeAt(i);
    bytes[i] = code < 0x80 || (code >= 0xa0 && code < 0x100) ? code : (BYTE_OF.get(code) ?? 0x3f);
  }
  return bytes;
}

// How the bytes of a file are shown: the encoding, whether a byte-order
// mark stands in front (shown as nothing), and the text.
export function decodeFile(bytes) {
  if (!isUtf8(bytes)) return { encoding: 'windows-1252', mark: false, text: decodeWindows1252(bytes) };
  const mark = hasByteOrderMark(bytes);
  return { encoding: 'utf-8', mark, text: new TextDecoder('utf-8').decode(bytes) };
}

// The bytes of `text` in the encoding a file was read in, its mark put back.
export function encodeFile(text, encoding, mark) {
  if (encoding === 'windows-1252') return encodeWindows1252(text);
  const body = new TextEncoder().encode(text);
  if (!mark) return body;
  const bytes = new Uint8Array(body.length + 3);
  bytes.set(BYTE_ORDER_MARK);
  bytes.set(body, 3);
  return bytes;
}
