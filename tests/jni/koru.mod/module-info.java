// App.java once more as the test module, whose descriptor names koru.test.App.
module koru.mod {}
