// The pictures are compiled into this library; it has no code of its own.
