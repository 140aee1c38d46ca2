// The operating-system stand-ins are added here one by one.
