#pragma once

class TQtPlatform;

// The Qt backend of the test process.
TQtPlatform& QtTestPlatform();
