// The library, built as WebAssembly, over bytes: what goes in is copied
// onto the module's heap and what comes out is copied off it, so no text
// passes through a conversion on the way.

export class Vornette {
  // `module` is what the glue's createVornette() gives.
  constructor(module) {
    this.module = module;
    this.version = module.UTF8ToString(module._vornette_version());
  }

  // Calls `call` with the bytes of each argument on the heap, as pointer
  // and size; returns its value and the result bytes.
  withBytes(args, call) {
    const m = this.module;
    const pointers = args.map((bytes) => {
      const pointer = m._malloc(Math.max(bytes.length, 1));
      // A fresh view each time: memory growth replaces the buffer.
      m.HEAPU8.set(bytes, pointer);
      return pointer;
    });
    try {
      const value = call(...pointers.flatMap((p, i) => [p, args[i].length]));
      const data = m._vornette_result_data();
      return { value, bytes: m.HEAPU8.slice(data, data + m._vornette_result_size()) };
    } finally {
      pointers.forEach((p) => m._free(p));
    }
  }

  // The bytes vornette-format writes for a file of `source` bytes under the
  // settings of `ini` (bytes): { ok: true, bytes } or { ok: false, error }.
  format(source, ini) {
    const { value, bytes } = this.withBytes([source, ini], this.module._vornette_format);
    return value === 1 ? { ok: true, bytes } : { ok: false, error: new TextDecoder().decode(bytes) };
  }

  // The block warnings of `source` bytes under the settings of `ini`:
  // { ok: true, warnings: [{ line, column, offset, length, kind, closerLine,
  // text }] } (positions in bytes, from 1; the text decoded by `decode`), or
  // { ok: false, error }.
  checkBlocks(source, ini, decode) {
    const { value, bytes } = this.withBytes([source, ini], this.module._vornette_check_blocks);
    if (value !== 1) return { ok: false, error: new TextDecoder().decode(bytes) };
    const warnings = [];
    const digits = new TextDecoder();
    for (let start = 0; start < bytes.length;) {
      const end = bytes.indexOf(0x0a, start);
      const fields = [];
      let at = start;
      for (let i = 0; i < 6; ++i) {
        const tab = bytes.indexOf(0x09, at);
        fields.push(Number(digits.decode(bytes.subarray(at, tab))));
        at = tab + 1;
      }
      const [line, column, offset, length, kind, closerLine] = fields;
      warnings.push({ line, column, offset, length, kind, closerLine, text: decode(bytes.subarray(at, end)) });
      start = end + 1;
    }
    return { ok: true, warnings };
  }

  // The Vornette.ini text, every key present, that gives the settings `ini` gives.
  normalizeIni(ini) {
    return new TextDecoder().decode(this.withBytes([ini], this.module._vornette_normalize_ini).bytes);
  }
}
