// Placeholder so the windows library has a source until its first window lands.
