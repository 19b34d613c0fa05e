// Reading and writing .zip archives in the page: games come as archives, saves leave and come
// back as one. Reads stored and deflated entries (through the browser's own inflater), names in
// UTF-8 when the archive says so, else in code page 932 as Japanese Windows writes them; writes
// stored entries only.
'use strict';

var QvZip = (function() {
  function le16(view, at) { return view.getUint16(at, true); }
  function le32(view, at) { return view.getUint32(at, true); }

  // Where the end-of-central-directory record starts, searching back over a trailing comment.
  function findEnd(view) {
    var last = Math.max(0, view.byteLength - 22 - 0xffff);
    for (var at = view.byteLength - 22; at >= last; --at) {
      if (le32(view, at) === 0x06054b50) return at;
    }
    throw new Error('not a zip archive (no end record)');
  }

  var utf8 = new TextDecoder('utf-8');
  var cp932 = new TextDecoder('shift_jis');

  async function inflate(bytes) {
    var stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
    return new Uint8Array(await new Response(stream).arrayBuffer());
  }

  // The archive's files as [{path, data}], folders left out; `path` uses '/' and has no leading
  // './' or '/'.
  async function read(buffer) {
    var bytes = new Uint8Array(buffer);
    var view = new DataView(buffer);
    var end = findEnd(view);
    var count = le16(view, end + 10);
    var at = le32(view, end + 16);
    var files = [];
    for (var i = 0; i < count; ++i) {
      if (at + 46 > bytes.length || le32(view, at) !== 0x02014b50) {
        throw new Error('damaged zip archive (central directory)');
      }
      var flags = le16(view, at + 8);
      var method = le16(view, at + 10);
      var packedSize = le32(view, at + 20);
      var size = le32(view, at + 24);
      var nameLength = le16(view, at + 28);
      var extraLength = le16(view, at + 30);
      var commentLength = le16(view, at + 32);
      var local = le32(view, at + 42);
      var rawName = bytes.subarray(at + 46, at + 46 + nameLength);
      var name = (flags & 0x800 ? utf8 : cp932).decode(rawName).replace(/\\/g, '/');
      at += 46 + nameLength + extraLength + commentLength;
      if (name.endsWith('/')) continue;
      if (flags & 1) throw new Error(name + ' is encrypted');
      if (le32(view, local) !== 0x04034b50) throw new Error('damaged zip archive (' + name + ')');
      var start = local + 30 + le16(view, local + 26) + le16(view, local + 28);
      var packed = bytes.subarray(start, start + packedSize);
      var data;
      if (method === 0) {
        data = packed.slice();
      } else if (method === 8) {
        data = await inflate(packed);
      } else {
        throw new Error(name + ' is packed with method ' + method + ', which is not supported');
      }
      if (data.length !== size) throw new Error('damaged zip archive (' + name + ' has the wrong size)');
      files.push({path: name.replace(/^(\.\/|\/)+/, ''), data: data});
    }
    return files;
  }

  var crcTable = (function() {
    var table = new Uint32Array(256);
    for (var n = 0; n < 256; ++n) {
      var c = n;
      for (var k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
      table[n] = c >>> 0;
    }
    return table;
  })();
  function crc32(data) {
    var c = 0xffffffff;
    for (var i = 0; i < data.length; ++i) c = crcTable[(c ^ data[i]) & 0xff] ^ (c >>> 8);
    return (c ^ 0xffffffff) >>> 0;
  }

  // A Blob of a zip archive holding `files` ([{path, data}]) stored, names in UTF-8.
  function write(files) {
    var encoder = new TextEncoder();
    var now = new Date();
    var dosTime = (now.getHours() << 11) | (now.getMinutes() << 5) | (now.getSeconds() >> 1);
    var dosDate = ((now.getFullYear() - 1980) << 9) | ((now.getMonth() + 1) << 5) | now.getDate();
    var parts = [];
    var central = [];
    var offset = 0;
    files.forEach(function(file) {
      var name = encoder.encode(file.path);
      var crc = crc32(file.data);
      var header = new DataView(new ArrayBuffer(30));
      header.setUint32(0, 0x04034b50, true);
      header.setUint16(4, 20, true);
      header.setUint16(6, 0x800, true);
      header.setUint16(10, dosTime, true);
      header.setUint16(12, dosDate, true);
      header.setUint32(14, crc, true);
      header.setUint32(18, file.data.length, true);
      header.setUint32(22, file.data.length, true);
      header.setUint16(26, name.length, true);
      parts.push(header, name, file.data);
      var entry = new DataView(new ArrayBuffer(46));
      entry.setUint32(0, 0x02014b50, true);
      entry.setUint16(4, 20, true);
      entry.setUint16(6, 20, true);
      entry.setUint16(8, 0x800, true);
      entry.setUint16(12, dosTime, true);
      entry.setUint16(14, dosDate, true);
      entry.setUint32(16, crc, true);
      entry.setUint32(20, file.data.length, true);
      entry.setUint32(24, file.data.length, true);
      entry.setUint16(28, name.length, true);
      entry.setUint32(42, offset, true);
      central.push(entry, name);
      offset += 30 + name.length + file.data.length;
    });
    var centralSize = central.reduce(function(sum, part) { return sum + part.byteLength; }, 0);
    var end = new DataView(new ArrayBuffer(22));
    end.setUint32(0, 0x06054b50, true);
    end.setUint16(8, files.length, true);
    end.setUint16(10, files.length, true);
    end.setUint32(12, centralSize, true);
    end.setUint32(16, offset, true);
    return new Blob(parts.concat(central, [end]), {type: 'application/zip'});
  }

  return {read: read, write: write};
})();
