// An empty source, for a target whose code all comes from libraries.
