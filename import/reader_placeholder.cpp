// Replaced by the import object.
