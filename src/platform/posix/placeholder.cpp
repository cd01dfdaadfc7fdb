// Placeholder so the library has a source until its subsystem lands; delete when adding real files.
