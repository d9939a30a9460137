#pragma once

// Every access to the history files goes through this object.
class FileSystemObject {};
