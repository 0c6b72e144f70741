"""The installation's text files: UTF-16LE with a byte-order mark, CR LF line
ends, every byte complemented (XOR 0xFF)."""


def encode_lines(lines, final_break=True):
    """A final break would add one empty line for the reader; the language
    files leave it out so that they hold exactly their lines."""
    text = "\ufeff" + "\r\n".join(lines) + ("\r\n" if final_break else "")
    return bytes(b ^ 0xFF for b in text.encode("utf-16-le"))


def decode_lines(data):
    """Lines as the program reads them: the mark stays on line 0, a final line
    end gives one last empty line."""
    plain = bytes(b ^ 0xFF for b in data)
    if not (plain[:1] == b"\xff" or plain[1:2] == b"\xfe"):
        raise ValueError("no byte-order mark")
    text = plain[:len(plain) // 2 * 2].decode("utf-16-le")
    text = text.split("\0", 1)[0].replace("\r\n", "\n").replace("\r", "\n")
    return text.split("\n")
