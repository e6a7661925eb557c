// The whole state of the page (settings, file name and the program's bytes)
// in the URL fragment, deflated and in base64url, so a link restores it.

async function pipe(bytes, stream) {
  const piped = new Blob([bytes]).stream().pipeThrough(stream);
  return new Uint8Array(await new Response(piped).arrayBuffer());
}

function toBase64Url(bytes) {
  let binary = '';
  for (let i = 0; i < bytes.length; i += 8192) {
    binary += String.fromCharCode(...bytes.subarray(i, i + 8192));
  }
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function fromBase64Url(text) {
  const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
  return Uint8Array.from(binary, (c) => c.charCodeAt(0));
}

// The fragment for `state`: { ini: text, name: text, source: bytes }.
export async function stateToFragment({ ini, name, source }) {
  const json = JSON.stringify({ ini, name, source: toBase64Url(source) });
  return `#state=${toBase64Url(await pipe(new TextEncoder().encode(json), new CompressionStream('deflate-raw')))}`;
}

// The state a fragment holds; null when it holds none or is damaged.
export async function fragmentToState(fragment) {
  const match = /^#state=([A-Za-z0-9_-]+)$/.exec(fragment);
  if (!match) return null;
  try {
    const json = new TextDecoder().decode(
        await pipe(fromBase64Url(match[1]), new DecompressionStream('deflate-raw')));
    const { ini, name, source } = JSON.parse(json);
    return { ini: String(ini), name: String(name), source: fromBase64Url(String(source)) };
  } catch {
    return null;
  }
}
