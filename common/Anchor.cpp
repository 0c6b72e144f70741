int MirovaleCommonAnchor = 0;  // keeps the library non-empty until its services land
