// Keeps the library non-empty until the windows land.
