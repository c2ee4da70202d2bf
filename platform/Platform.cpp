// The platform layer's classes arrive with the features that call them.
